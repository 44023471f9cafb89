#pragma once
// The terminal's own termios port on a pseudo-terminal to the simulator program, which paces
// the far end at the line rate; the host's services on the real clock and the given screen.
// The simulator runs in its own process, so what this process spends is the terminal's alone.
#include <memory>
#include <string>
#include <string_view>

#include "bench/line_rig.h"
#include "engine_e2e_support.h"
#include "platform/file_io.h"
#include "platform/termios_port.h"

namespace corvan::bench {

// The ECU answers a 2-byte message with 15 bytes after 25 ms: a 7-byte request frame and a
// 20-byte reply frame.
inline constexpr int64_t kEcuLatencyUs = 25000;
inline constexpr int kReplyFrame = 20;
inline constexpr const char* kLatencyScenario = R"({"ecus": [{"model": "table", "config": {
  "delayMs": 25, "rules": [
  {"request": "1A 80", "reply": "5A 80 39 30 43 39 30 36 30 32 31 41 42 30 30"}]}}]})";

struct PtyLine {
    PtyLine(std::string_view scenarioJson, ui::Screen& screen)
        : scenario(writeScenario(dir, scenarioJson)), sim({scenario, "--pacing"}) {
        port = openTermiosPort(sim.terminalPath(), SerialSettings{}, &error);
        host.clock = &clock;
        host.screen = &screen;
        host.frames = &counter;
        link.port = port.get();
        link.host = &host;
    }
    static std::string writeScenario(const testing::TempDir& d, std::string_view json) {
        const std::filesystem::path file = d.path() / "scenario.json";
        writeFileAtomic(file, json);
        return file.string();
    }

    testing::TempDir dir;
    std::string scenario;
    e2e::SimProgram sim;
    std::string error;  // why the port did not open
    std::unique_ptr<SerialPort> port;
    RealClock clock;
    FrameBytes counter;
    HostServices host;
    VarboxLink link;
};

}  // namespace corvan::bench
