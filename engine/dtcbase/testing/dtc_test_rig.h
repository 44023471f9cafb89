#pragma once
// What the tests of the trouble-code and actuator modules wire together: a small
// installation in a temporary device root (iCor.cfg, the plug-ins they load in its DLL
// folder, files in its "\dtc\" folder), the simulated box behind an in-memory line on the
// virtual clock, the headless screen and the frames on the wire.
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/dtcbase/dtc_file.h"
#include "platform/clock.h"
#include "platform/device_root.h"
#include "platform/library_loader.h"
#include "platform/memory_port.h"
#include "platform/test_temp_dir.h"
#include "runtime/host_services.h"
#include "runtime/module_context.h"
#include "runtime/testing/link_fixture.h"
#include "sim/hex_pattern.h"
#include "sim/scenario_loader.h"
#include "sim/varbox.h"
#include "ui/headless_screen.h"

namespace corvan::testing {

using Bytes = std::vector<uint8_t>;

inline Bytes hexBytes(std::string_view text) {
    return sim::parseHexBytes(text, nullptr).value_or(Bytes{});
}

// "80 07 20 00 ..." with the check byte, as the frame goes on the wire.
inline Bytes withCheck(std::string_view text) {
    Bytes b = hexBytes(text);
    uint8_t x = 0;
    for (uint8_t v : b) x ^= v;
    b.push_back(x);
    return b;
}

class DtcRig {
  public:
    static constexpr std::string_view kDataPath = "STORAGE CARD\\CORVANDATA";

    DtcRig() {
        root_ = DeviceRoot(dir_.path());
        root_.setProgramPath("\\STORAGE CARD\\CORVANDATA\\EXE\\ECOR.EXE");
        std::filesystem::create_directories(install() / "DLL");
        std::filesystem::create_directories(install() / "dtc");
        write(dir_.path() / "STORAGE CARD" / "iCor.cfg",
              "PATH=[STORAGE CARD\\CORVANDATA]\r\nLANGUAGE=[ENGLISH]\r\n");
        host.clock = &clock;
        host.screen = &screen;
        host.frames = &frames;
        host.root = &root_;
        host.loader = &loader_;
        link.host = &host;
        screen.setRunawayHandler(
            [](const ui::RunReport& r) { throw std::runtime_error(r.text()); });
    }

    std::filesystem::path install() const { return dir_.path() / "STORAGE CARD" / "CORVANDATA"; }

    // The simulated box with this scenario; the line is reset with it.
    void boot(const std::string& json) {
        auto loaded = sim::loadScenarioText(json, "test");
        if (!loaded.ok()) throw std::runtime_error(loaded.error);
        box = std::make_unique<sim::Varbox>(std::move(*loaded.scenario));
        port = std::make_unique<MemoryPort>(clock, *box);
        link.port = port.get();
    }

    // Puts the built plug-in file (a path) into the installation's DLL folder.
    void installPlugin(const std::filesystem::path& built) {
        std::filesystem::create_symlink(built, install() / "DLL" / built.filename());
    }
    void writeFile(std::string_view folder, std::string_view name, std::string_view bytes) {
        write(install() / folder / name, bytes);
    }
    // A stored "\dtc\" file holding `text` (Windows-1252).
    void writeDtcFile(std::string_view name, std::string_view text) {
        const auto stored = dtc::encodeStoredFile(text);
        if (!stored) throw std::runtime_error("text not storable");
        writeFile("dtc", name,
                  std::string_view(reinterpret_cast<const char*>(stored->data()), stored->size()));
    }

    ModuleContext context(std::string mode, int language = 1) {
        return ModuleContext(link, language, std::move(mode));
    }

    // The frames written to the box, whole, in order.
    const std::vector<Bytes>& sent() const { return frames.sent; }
    bool sentFrame(const Bytes& frame) const {
        for (const Bytes& f : frames.sent)
            if (f == frame) return true;
        return false;
    }
    const ui::DialogSnapshot& snapshot(std::string_view name) const {
        const ui::DialogSnapshot* s = screen.lastSnapshot(name);
        if (!s) throw std::runtime_error("no dialog " + std::string(name));
        return *s;
    }
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const auto& b : screen.messageBoxes()) texts.push_back(b.text);
        return texts;
    }

    VirtualClock clock;
    ui::HeadlessScreen screen;
    std::unique_ptr<sim::Varbox> box;
    std::unique_ptr<MemoryPort> port;
    FrameLog frames;
    HostServices host;
    VarboxLink link;

  private:
    // A plain write: a test's files need no flush to disk.
    static void write(const std::filesystem::path& file, std::string_view bytes) {
        std::ofstream(file, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    TempDir dir_;
    DeviceRoot root_;
    DlopenLoader loader_;
};

}  // namespace corvan::testing
