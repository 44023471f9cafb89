// varbox-sim: serves a simulated Varbox on a pseudo-terminal. Prints the terminal's path on
// the first line of its output; point PORT= (or a test's port) at it.
#include <CLI/CLI.hpp>
#include <csignal>
#include <cstdio>

#include "platform/clock.h"
#include "platform/command_line_exit.h"
#include "sim/bluetooth_module.h"
#include "sim/pty_server.h"
#include "sim/scenario_loader.h"

namespace {

volatile std::sig_atomic_t gStop = 0;

void onSignal(int) {
    gStop = 1;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Serves a simulated Varbox box and its ECUs on a pseudo-terminal"};
    std::string scenarioPath;
    corvan::sim::ServeOptions options;
    bool pacing = false;
    bool bluetooth = false;
    app.add_option("scenario", scenarioPath, "Scenario file (JSON); without it an idle box");
    app.add_option("--idle-exit", options.idleExitSeconds,
                   "End after this many seconds without a byte from the host");
    app.add_option("--hangup-after", options.hangupAfterFrames,
                   "Hang up the line once this many frames were answered");
    app.add_flag("--pacing", pacing, "Pace bytes at the scenario's baud rate");
    app.add_flag("--trace", options.trace, "Print frames and replies on standard error");
    app.add_flag("--bluetooth", bluetooth,
                 "The terminal's Bluetooth serial module in front of the box (AT commands until "
                 "linked; the scenario's \"bluetooth\" settings)");
    if (const int status = corvan::parseCommandLine(app, argc, argv); status >= 0) return status;

    corvan::sim::Scenario scenario;
    if (!scenarioPath.empty()) {
        corvan::sim::LoadResult loaded = corvan::sim::loadScenarioFile(scenarioPath);
        if (!loaded.ok()) {
            std::fprintf(stderr, "varbox-sim: %s\n", loaded.error.c_str());
            return 2;
        }
        scenario = std::move(*loaded.scenario);
    }
    if (pacing) scenario.timing.pacing = true;
    const corvan::sim::TimingConfig timing = scenario.timing;
    const corvan::sim::BluetoothConfig btConfig =
        scenario.bluetooth.value_or(corvan::sim::BluetoothConfig{});
    corvan::sim::Varbox box(std::move(scenario));
    corvan::sim::BluetoothModule module(btConfig, box, timing);

    // Signals wait blocked and are let through only inside the serving loop's wait.
    sigset_t block;
    sigemptyset(&block);
    sigaddset(&block, SIGTERM);
    sigaddset(&block, SIGINT);
    sigprocmask(SIG_BLOCK, &block, nullptr);
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);

    std::string error;
    auto pty = corvan::sim::PtyEndpoint::open(&error);
    if (!pty) {
        std::fprintf(stderr, "varbox-sim: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", pty->path().c_str());
    std::fflush(stdout);

    corvan::RealClock clock;
    const auto end = bluetooth
                         ? corvan::sim::servePty(module, box, clock, pty->master(), options, gStop)
                         : corvan::sim::servePty(box, clock, pty->master(), options, gStop);
    pty->hangUp();
    return end == corvan::sim::ServeEnd::Failed ? 1 : 0;
}
