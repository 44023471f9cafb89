#pragma once
// A plug-in under test on the simulated box: the scenario's box behind the in-memory line on
// the virtual clock, the headless screen that runs the technician script, the log of the
// frames on the wire, and the link that carries them all. Plug-in test fixtures derive
// from it and call boot() with their scenario.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string_view>

#include "platform/clock.h"
#include "platform/memory_port.h"
#include "runtime/host_services.h"
#include "runtime/testing/link_fixture.h"
#include "runtime/varbox_link.h"
#include "sim/scenario_loader.h"
#include "sim/varbox.h"
#include "ui/headless_screen.h"

namespace corvan::sim::testing {

class PluginRig : public ::testing::Test {
  protected:
    // A scenario that does not load fails the test.
    void boot(std::string_view json) {
        auto loaded = loadScenarioText(json, "test");
        ASSERT_TRUE(loaded.ok()) << loaded.error;
        box = std::make_unique<Varbox>(std::move(*loaded.scenario));
        port = std::make_unique<MemoryPort>(clock, *box);
        host.clock = &clock;
        host.screen = &screen;
        host.frames = &frames;
        link.port = port.get();
        link.host = &host;
        // A module that never stops pumping fails the test instead of hanging it.
        screen.setRunawayHandler(
            [](const ui::RunReport& r) { throw std::runtime_error(r.text()); });
    }

    VirtualClock clock;
    ui::HeadlessScreen screen;
    std::unique_ptr<Varbox> box;
    std::unique_ptr<MemoryPort> port;
    corvan::testing::FrameLog frames;
    HostServices host;
    VarboxLink link;
};

}  // namespace corvan::sim::testing
