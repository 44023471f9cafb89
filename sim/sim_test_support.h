#pragma once
// What the simulator's tests wire together: a box from a scenario, the in-memory line on
// the virtual clock, and the runtime's own link, screen and exchange on top of it, so that
// every test drives the box exactly as the modules do.
#include <memory>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/memory_port.h"
#include "runtime/exchange.h"
#include "runtime/host_services.h"
#include "runtime/module_context.h"
#include "runtime/testing/fake_screen.h"
#include "runtime/varbox_link.h"
#include "sim/scenario_loader.h"
#include "sim/varbox.h"

namespace corvan::sim::testing {

using Bytes = std::vector<uint8_t>;

// A scenario from JSON text; a load error fails the test and yields a default scenario.
Scenario scenarioFrom(std::string_view json);

// "1A 80" -> bytes (for readable expectations).
Bytes hex(std::string_view text);

class BoxRig {
  public:
    explicit BoxRig(Scenario s);
    explicit BoxRig(std::string_view json) : BoxRig(scenarioFrom(json)) {}

    // The plug-in form of the exchange (4 attempts, no wait, 50 ms between reads); the
    // reply frame, or empty when none came (the retry question is answered No).
    Bytes exchange(const Bytes& request, int attempts = 4, double pollFactor = 1.0);
    // The pumping form as box start-up uses it, without a retry question.
    Bytes exchangePumping(const Bytes& request, int attempts, int waitMs, int pollMs);
    // Reply data byte 0 (frame index 3) of the exchange, or `previous` when no reply came.
    uint8_t byte3(const Bytes& request, uint8_t previous = 0);

    ModuleContext context() { return ModuleContext(link, 1, "EXE"); }

    VirtualClock clock;
    corvan::testing::FakeScreen screen;
    std::unique_ptr<Varbox> box;
    std::unique_ptr<MemoryPort> port;
    HostServices host;
    VarboxLink link;
};

}  // namespace corvan::sim::testing
