#include "plugins/boxstart/boxstart_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "plugins/boxstart/boxstart.h"
#include "plugins/boxstart/progress_window.h"
#include "sim/scenario_loader.h"

namespace corvan::boxstart::testing {

namespace fs = std::filesystem;

Keys kLineKeys() {
    return {{"DLL", "BOXSTART.DLL"},
            {"DRV", "KWP2000.DRV"},
            {"MSGINI", ""},
            {"PLUG", "OBDII,KLIA"},
            {"PIN", "7,7"},
            {"KEYON", "1"},
            {"ID", "10"},
            {"BRG", "28"},
            {"SCC", "1"},
            {"TBYTE", "5"},
            {"TFRAME", "300"},
            {"BEG", "81"},
            {"MNT", "3E"},
            {"END", "82"}};
}

Keys canKeys() {
    return {{"DLL", "BOXSTART.DLL"}, {"DRV", "KWP2000.DRV"},
            {"PLUG", "OBDII"},       {"PIN", "6"},
            {"CHANNEL", "1"},        {"BTR0", "01"},
            {"BTR1", "1C"},          {"RESPCODE", "28"},
            {"ACCEPTCODE", "20"},    {"ACCEPTMASK", "00"},
            {"TRESP", "500"},        {"TFRAME", "100"},
            {"BEG", "1081"},         {"MNT", ""}};
}

Keys with(Keys keys, const std::string& key, const std::string& value) {
    for (auto& [k, v] : keys)
        if (k == key) {
            v = value;
            return keys;
        }
    keys.emplace_back(key, value);
    return keys;
}

Keys without(Keys keys, const std::string& key) {
    std::erase_if(keys, [&key](const auto& kv) { return kv.first == key; });
    return keys;
}

std::string section(const Keys& keys) {
    std::string text = "#CONFIGURATION\r\n";
    for (const auto& [k, v] : keys) text += "\t" + k + "=\t[" + v + "]\r\n";
    text +=
        "#MENU\r\n<MNU\r\n\tID=\t[M00]\r\n\tTEXT=\t[\"Identification\"]\r\n"
        "\tDLL=\t[IDENTIFY.DLL]\r\n#END\r\n";
    return text;
}

std::string scenarioJson(const BoxSetup& setup) {
    std::string box = R"("program": ")" + setup.program + R"(", "driverName": ")" +
                      setup.driverName + R"(", "adapter": ")" + setup.adapter + "\"";
    if (!setup.extra.empty()) box += ", " + setup.extra;
    return R"({"box": {)" + box + R"(},
      "ecus": [
        {"name": "engine", "select": {"line": "kline", "id": "10"}, "model": "table",
         "config": {"connect": {)" +
           setup.ecuConnect + R"(}}},
        {"name": "abs", "select": {"line": "can", "channel": 1, "respCode": "28"},
         "model": "table", "config": {"connect": {"reply": "50 81"}}}
      ],
      "faults": [)" +
           setup.faults + "]}";
}

Bytes driverImage(std::string_view name, size_t size) {
    Bytes image(size);
    for (size_t i = 0; i < size; ++i) image[i] = static_cast<uint8_t>(0x40 + i * 7);
    const std::string tag = "DRVNAME=" + std::string(name) + " ";
    std::copy_n(tag.begin(), std::min(tag.size(), size), image.begin());
    return image;
}

Rig::Rig(std::string_view scenarioText) : root(dir.path()) {
    const fs::path card = dir.path() / "STORAGE CARD";
    fs::create_directories(card / "CORVANDATA" / "drv");
    fs::create_directories(card / "CORVANDATA" / "DLL");
    std::ofstream(card / "iCor.cfg")
        << "PATH=[STORAGE CARD\\CORVANDATA]\r\nPORT=[SIM]\r\nLANGUAGE=[ENGLISH]\r\n";
    root.setProgramPath("\\STORAGE CARD\\CORVANDATA\\EXE\\ECOR.EXE");

    sim::LoadResult loaded = sim::loadScenarioText(scenarioText, "boxstart test scenario");
    if (!loaded.ok()) ADD_FAILURE() << loaded.error;
    box =
        std::make_unique<sim::Varbox>(loaded.ok() ? std::move(*loaded.scenario) : sim::Scenario{});
    port = std::make_unique<MemoryPort>(clock, *box);
    host.clock = &clock;
    host.screen = &screen;
    host.root = &root;
    host.loader = &loader;
    link.port = port.get();
    link.host = &host;

    screen.setPumpHook([this](ui::HeadlessScreen& s) {
        ui::HeadlessDialog* d = s.findDialog(kProgressDialogName);
        if (!d) return;
        progressShown |= d->isVisible();
        Stage now{d->text(kStageTextId), d->progress(kProgressBarId)};
        if (stages.empty() || !(stages.back() == now)) stages.push_back(now);
    });
}

void Rig::writeDriver(std::string_view fileName, const Bytes& image) {
    std::ofstream out(dir.path() / "STORAGE CARD" / "CORVANDATA" / "drv" / std::string(fileName),
                      std::ios::binary);
    out.write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
}

std::string Rig::run(const std::string& text, std::string mode, int language) {
    const ModuleContext ctx = context(mode, language);
    return RunBoxStart(ctx, PluginCall{text, 0, mode, "ENGINE"});
}

std::vector<Bytes> Rig::frames() const {
    std::vector<Bytes> out;
    for (const auto& f : box->frames()) out.emplace_back(f.begin(), f.end() - 1);
    return out;
}

std::vector<Bytes> Rig::framesWith(uint8_t command) const {
    std::vector<Bytes> out = frames();
    std::erase_if(out, [command](const Bytes& f) { return f.size() < 3 || f[2] != command; });
    return out;
}

Bytes Rig::commands() const {
    Bytes out;
    for (const auto& f : box->frames()) out.push_back(f.size() > 2 ? f[2] : 0);
    return out;
}

std::vector<std::string> Rig::boxTexts() const {
    std::vector<std::string> out;
    for (const auto& b : screen.messageBoxes()) out.push_back(b.text);
    return out;
}

}  // namespace corvan::boxstart::testing
