#pragma once
// What the interpreter's tests wire together: a device root with the engine's path and a
// DLL folder holding the login stand-in under several names, the simulated box with a
// service unit on the virtual clock, the headless screen, and one ScriptState that lives
// across runs as the plug-in's does.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/device_root.h"
#include "platform/library_loader.h"
#include "platform/memory_port.h"
#include "platform/test_temp_dir.h"
#include "plugins/mbservice/interpreter.h"
#include "runtime/hex_text.h"
#include "runtime/testing/link_fixture.h"
#include "sim/hex_pattern.h"
#include "sim/scenario_loader.h"
#include "sim/service_model.h"
#include "sim/varbox.h"
#include "ui/headless_screen.h"

namespace corvan::mbservice::testing {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

inline Bytes hex(std::string_view text) {
    return sim::parseHexBytes(text, nullptr).value_or(Bytes{});
}

// The box stops hearing anything.
inline sim::Fault silentBox() {
    sim::Fault f;
    f.kind = sim::FaultKind::Silence;
    f.count = -1;
    return f;
}

// A running driver connected to a service unit: counter 01 unlocked, 02 locked behind the
// code 30 39, both read back after one settling read; 1A 80 answers one byte, 1A 81 none.
inline std::string serviceScenario(const std::string& box = "") {
    return R"({"box": {)" + box + R"("program": "running"},
               "ecus": [{"name": "cluster", "model": "service", "config": {
                   "counters": [{"id": "01", "value": "00 0A", "reset": "27 10"},
                                {"id": "02", "value": "00 05", "reset": "01 6D",
                                 "locked": true}],
                   "accessCode": "30 39", "settleReads": 1,
                   "table": {"rules": [{"request": "1A 80", "reply": "5A"},
                                       {"request": "1A 81", "reply": ""},
                                       {"request": "1A 82", "silence": true},
                                       {"request": "82", "reply": "C2"}]}}}]})";
}

// A parameter text with the script `body` inside its braces. `config` goes into the
// "#CONFIGURATION" section.
inline std::string scriptText(const std::string& body, const std::string& config = "") {
    return "#CONFIGURATION\r\n\tDLL=\t[LOGIN.DLL]\r\n\tEND=\t[82]\r\n" + config +
           "#MENU\r\n<MNU\r\n\tTEXT=\t[\"Service\"]\r\n\tDLL=\t[MBSERVICE.DLL]\r\n"
           "#INTERPRETE\r\n{\r\n" +
           body + "\r\n}\r\nENDDATA\r\n>\r\n#END\r\n";
}

class ScriptRig : public ::testing::Test {
  protected:
    ScriptRig() : root(dir.path()) {
        dll = dir.path() / "STORAGE CARD" / "CORVANDATA" / "DLL";
        fs::create_directories(dll);
        for (const char* name : {"login.so", "vaglogin.so", "other.so"})
            fs::copy_file(CORVAN_STANDIN_PLUGIN, dll / name);
        root.setProgramPath("\\Storage Card\\CorvanData\\EXE\\eCor.exe");
        host.clock = &clock;
        host.screen = &screen;
        host.root = &root;
        host.loader = &loader;
        host.frames = &frames;
        screen.setRunawayHandler(
            [](const ui::RunReport& r) { throw std::runtime_error("runaway: " + r.text()); });
        boot(serviceScenario());
    }

    void boot(const std::string& json) {
        auto loaded = sim::loadScenarioText(json, "test");
        ASSERT_TRUE(loaded.ok()) << loaded.error;
        box = std::make_unique<sim::Varbox>(std::move(*loaded.scenario));
        port = std::make_unique<MemoryPort>(clock, *box);
        link.port = port.get();
        link.host = &host;
    }
    void technician(const std::string& script) { ASSERT_EQ(screen.loadScript(script), ""); }

    // Runs the text as the function menu calls the plug-in: from the "<MNU" of its entry.
    std::string runText(const std::string& text, const std::string& mode = "EXE") {
        const ModuleContext ctx(link, 1, mode);
        const int start = static_cast<int>(text.find("<MNU"));
        return runScript(ctx, PluginCall{text, start < 0 ? 0 : start, mode, "SERVICE"}, state);
    }
    std::string run(const std::string& body, const std::string& mode = "EXE") {
        return runText(scriptText(body), mode);
    }

    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const ui::MessageBoxRecord& b : screen.messageBoxes()) texts.push_back(b.text);
        return texts;
    }
    // ECU messages the script sent (the bytes after 80 n 20 00), in order.
    std::vector<Bytes> ecuMessages() const {
        std::vector<Bytes> out;
        for (const Bytes& f : frames.sent)
            if (f.size() >= 5 && f[2] == 0x20) out.emplace_back(f.begin() + 4, f.end() - 1);
        return out;
    }
    sim::ServiceModel& unit() const { return *static_cast<sim::ServiceModel*>(box->ecu(0)); }
    std::vector<std::string> pluginCalls() const {
        std::vector<std::string> lines;
        std::ifstream log(dir.path() / "plugin-calls.log");
        for (std::string line; std::getline(log, line);) lines.push_back(line);
        return lines;
    }
    const ui::DialogSnapshot& snapshot(std::string_view name) const {
        const ui::DialogSnapshot* s = screen.lastSnapshot(name);
        if (!s) throw std::runtime_error("no dialog " + std::string(name));
        return *s;
    }

    corvan::testing::TempDir dir;
    fs::path dll;
    DeviceRoot root;
    DlopenLoader loader;
    VirtualClock clock;
    ui::HeadlessScreen screen;
    std::unique_ptr<sim::Varbox> box;
    std::unique_ptr<MemoryPort> port;
    corvan::testing::FrameLog frames;
    HostServices host;
    VarboxLink link;
    ScriptState state;
};

}  // namespace corvan::mbservice::testing
