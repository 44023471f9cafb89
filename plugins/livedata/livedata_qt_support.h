#pragma once
// Shared by the Qt tests of live data: the sample engine unit's live-data item run on a Qt
// screen against the sample vehicle on the virtual clock, from a device root of the test's
// choosing.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/device_root.h"
#include "platform/file_io.h"
#include "platform/memory_port.h"
#include "platform/text_codec.h"
#include "plugins/livedata/livedata.h"
#include "sim/scenario_loader.h"
#include "sim/varbox.h"
#include "ui/screen.h"

namespace corvan::livedata::testing {

// Runs "Live data" of EDC16_KWP.TXT in "EXE" on `screen`; it returns the empty text.
inline void runSampleLiveData(const std::filesystem::path& deviceRoot, ui::Screen& screen) {
    namespace fs = std::filesystem;
    DeviceRoot root(deviceRoot);
    root.setProgramPath("\\STORAGE CARD\\CORVANDATA\\EXE\\ECOR.EXE");
    auto loaded = sim::loadScenarioFile(
        (fs::path(CORVAN_SOURCE_DIR) / "sim" / "scenarios" / "sample_vehicle.json").string());
    ASSERT_TRUE(loaded.ok()) << loaded.error;
    sim::Varbox box(std::move(*loaded.scenario));
    VirtualClock clock;
    MemoryPort port(clock, box);
    HostServices host;
    host.clock = &clock;
    host.screen = &screen;
    host.root = &root;
    VarboxLink link;
    link.port = &port;
    link.host = &host;
    const std::string text = cp1252ToUtf8(
        readWholeFile(root.toHost("\\STORAGE CARD\\CORVANDATA\\FICHAS\\EDC16_KWP.TXT")).value());
    const int start = static_cast<int>(text.find("<MNU\n\tID=\t[M05]"));
    ASSERT_GT(start, 0);
    ModuleContext ctx(link, 1, "EXE");
    EXPECT_EQ(runLiveData(ctx, PluginCall{text, start, "EXE", "GOLF V 2.0 TDI"}), "");
}

}  // namespace corvan::livedata::testing
