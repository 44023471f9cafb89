#pragma once
// What the function menu's tests wire together: a device root with an installation (iCor.cfg,
// a DLL folder holding the built plug-ins and the recording stand-in under several names),
// the simulated box on the virtual clock, the headless screen, and the engine's link.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/device_root.h"
#include "platform/library_loader.h"
#include "platform/memory_port.h"
#include "platform/test_temp_dir.h"
#include "plugins/funcmenu/function_menu.h"
#include "plugins/funcmenu/menu_dialog.h"
#include "runtime/hex_text.h"
#include "runtime/testing/link_fixture.h"
#include "sim/hex_pattern.h"
#include "sim/scenario_loader.h"
#include "sim/varbox.h"
#include "ui/headless_screen.h"

namespace corvan::funcmenu::testing {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

inline Bytes hex(std::string_view text) {
    return sim::parseHexBytes(text, nullptr).value_or(Bytes{});
}

inline constexpr const char* kDataPath = "STORAGE CARD\\CORVANDATA";

// A box running its driver, connected to an engine unit that answers the identification
// request 1A 80 with 11 22 33 44 and the closing request 82 with C2. `box` adds keys to the
// box object (e.g. "\"state\": 0,").
inline std::string scenario(const std::string& box = "") {
    return R"({"box": {)" + box + R"("program": "running", "driverName": "KWP2000"},
               "ecus": [{"name": "engine", "select": {"line": "kline", "id": "10"},
                         "model": "table", "config": {"rules": [
                           {"request": "1A 80", "reply": "11 22 33 44"},
                           {"request": "82", "reply": "C2"}]}}]})";
}

inline std::string menuItem(const std::string& text, const std::string& dll,
                            const std::string& more = "") {
    std::string item = "<MNU\r\n\tID=\t[M]\r\n\tTEXT=\t[\"" + text + "\"]\r\n";
    if (!dll.empty()) item += "\tDLL=\t[" + dll + "]\r\n";
    return item + more + ">\r\n";
}

inline const std::string kIdentificationItem =
    menuItem("Identification", "IDENTIFY.DLL",
             "@I000\t[\"Key bytes\"]\t[INITIAL_ID]\t[0]\t[1]\t[HEX]\r\n"
             "@I001\t[\"Part number\"]\t[1A80]\t[1]\t[2]\t[HEX]\r\nENDDATA\r\n");

inline const std::string kExtendedInformation =
    "#EXTENDED_INFORMATION\r\n\tFILE=\t[EDC16_KWP.TXT]\r\n\tCODE=\t[VB-3100]\r\n"
    "\tVER=\t[2.14]\r\n\tNAMEDAT=\t[DIESEL EDC16 KWP2000]\r\n\tVERDAT=\t[1.3]\r\n";

// The configuration plug-in is the recording stand-in; it answers `configResult`.
inline std::string menuText(const std::string& items, const std::string& configResult = "7A",
                            const std::string& end = "82") {
    return "#CONFIGURATION\r\n\tDLL=\t[CONFIG.DLL]\r\n\tRESULT=\t[" + configResult +
           "]\r\n\tEND=\t[" + end + "]\r\n" + kExtendedInformation + "#MENU\r\n" + items +
           "#END\r\n";
}

// One call of a recording stand-in.
struct RecordedCall {
    std::string file, mode;
    int start = 0;
    int language = 0;
    std::string name, text;
};

class MenuRig : public ::testing::Test {
  protected:
    MenuRig() : root(dir.path()) {
        const fs::path card = dir.path() / "STORAGE CARD";
        dll = card / "CORVANDATA" / "DLL";
        fs::create_directories(dll);
        std::ofstream(card / "iCor.cfg")
            << "LANGUAGE=[ENGLISH]\r\nPATH=[STORAGE CARD\\CORVANDATA]\r\nPORT=[SIM]\r\n";
        for (const char* name : {"config.so", "func.so", "other.so", "autorun.so", "linkio.so"})
            fs::copy_file(CORVAN_RECORDER_PLUGIN, dll / name);
        fs::copy_file(CORVAN_IDENTIFY_PLUGIN, dll / "identify.so");
        fs::copy_file(CORVAN_FUNCMENU_PLUGIN, dll / "funcmenu.so");
        root.setProgramPath("\\STORAGE CARD\\CORVANDATA\\EXE\\ECOR.EXE");
        host.clock = &clock;
        host.screen = &screen;
        host.root = &root;
        host.loader = &loader;
        host.frames = &frames;
        screen.setRunawayHandler(
            [](const ui::RunReport& r) { throw std::runtime_error("runaway: " + r.text()); });
    }

    void boot(const std::string& json = scenario()) {
        auto loaded = sim::loadScenarioText(json, "test");
        ASSERT_TRUE(loaded.ok()) << loaded.error;
        box = std::make_unique<sim::Varbox>(std::move(*loaded.scenario));
        port = std::make_unique<MemoryPort>(clock, *box);
        link.port = port.get();
        link.host = &host;
    }
    void script(const std::string& text) { ASSERT_EQ(screen.loadScript(text), ""); }

    std::string run(const std::string& text, const std::string& mode, int language = 1) {
        ModuleContext ctx(link, language, mode);
        return runFunctionMenu(ctx, PluginCall{text, 0, mode, "EDC16"});
    }

    std::vector<RecordedCall> calls() const {
        std::vector<RecordedCall> out;
        std::ifstream log(dir.path() / "STORAGE CARD" / "CORVANDATA" / "calls.log");
        for (std::string line; std::getline(log, line);) {
            std::vector<std::string> f;
            std::stringstream fields(line);
            for (std::string part; std::getline(fields, part, '|');) f.push_back(part);
            f.resize(6);
            const Bytes text = hexToBytes(f[5]);
            out.push_back({f[0], f[1], std::stoi("0" + f[2]), std::stoi("0" + f[3]), f[4],
                           std::string(text.begin(), text.end())});
        }
        return out;
    }
    std::vector<std::string> callFiles() const {
        std::vector<std::string> files;
        for (const RecordedCall& c : calls()) files.push_back(c.file);
        return files;
    }

    // The frames the menu and its plug-ins wrote, by command byte.
    std::vector<Bytes> sent(uint8_t command) const {
        std::vector<Bytes> out;
        for (const Bytes& f : frames.sent)
            if (f.size() > 2 && f[2] == command) out.push_back(f);
        return out;
    }
    std::vector<std::string> boxTexts() const {
        std::vector<std::string> texts;
        for (const ui::MessageBoxRecord& b : screen.messageBoxes()) texts.push_back(b.text);
        return texts;
    }
    const ui::DialogSnapshot& menu() const {
        const ui::DialogSnapshot* s = screen.lastSnapshot("FUNCMENU");
        if (!s) throw std::runtime_error("no function menu dialog");
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
};

}  // namespace corvan::funcmenu::testing
