#include "plugins/vagkline/vag_test_rig.h"

#include <fstream>
#include <stdexcept>

#include "sim/hex_pattern.h"
#include "sim/scenario_loader.h"

namespace corvan::vagkline::testing {

namespace fs = std::filesystem;

Bytes hex(std::string_view text) {
    return sim::parseHexBytes(text, nullptr).value_or(Bytes{});
}

namespace {

// `given` followed by every default whose key `given` does not name, comma-separated.
std::string withDefaults(const std::string& given, std::initializer_list<std::string_view> keys) {
    std::string out = given;
    for (std::string_view key : keys) {
        const std::string_view name = key.substr(0, key.find(':'));
        if (given.find(name) != std::string::npos) continue;
        if (!out.empty()) out += ", ";
        out += key;
    }
    return out;
}

}  // namespace

std::string kombiScenario(const std::string& unit, const std::string& box) {
    const std::string config = withDefaults(
        unit,
        {R"("identification": [["1J0920826A  ", "KOMBI+WEGFAH", "RSP VDO V01 "], ["WVWZZZ1JZ3W0"]])",
         R"("coding": 1234)", R"("workshopCode": 5678)", R"("loginCode": 11111)",
         R"("channels": [{"channel": 9, "value": 500, "text": 294, "locked": true},
                         {"channel": 30, "value": 7, "text": 600}])",
         R"("delayMs": 20)"});
    const std::string boxKeys =
        withDefaults(box, {R"("driverName": "KWP2000")", R"("keepAlive": "03 00 09 00")",
                           R"("keepAliveOn": true)", R"("keepAliveIntervalMs": 10)"});
    return R"({"box": {)" + boxKeys + R"(},
               "ecus": [{"name": "kombi", "select": {"line": "kline", "id": "17"},
                         "model": "kw1281", "config": {)" +
           config + "}}]}";
}

std::string kombiText(const std::string& more) {
    return "#MENU\r\n<MNU\r\n\tID=\t[M01]\r\n\tTEXT=\t[\"Coding\"]\r\n\tDATA=\t[03000000]\r\n"
           "\tDLLPSW=\t[VAGLOGIN.DLL]\r\n" +
           more + ">\r\n#END\r\n";
}

VagRig::VagRig() : root(dir.path()) {
    fs::create_directories(dir.path() / "STORAGE CARD" / "CORVANDATA" / "DLL");
    writeConfig("");
    root.setProgramPath("\\STORAGE CARD\\CORVANDATA\\EXE\\ECOR.EXE");
    host.clock = &clock;
    host.screen = &screen;
    host.root = &root;
    host.loader = &loader;
    host.frames = &frames;
    screen.setRunawayHandler(
        [](const ui::RunReport& r) { throw std::runtime_error("runaway: " + r.text()); });
}

void VagRig::writeConfig(const std::string& extraKeys) {
    std::ofstream(dir.path() / "STORAGE CARD" / "iCor.cfg", std::ios::binary)
        << "PATH=[STORAGE CARD\\CORVANDATA]\r\nPORT=[SIM]\r\nLANGUAGE=[ENGLISH]\r\n"
        << extraKeys;
}

void VagRig::installPlugin(const std::string& builtFile, const std::string& name) {
    fs::copy_file(builtFile, dir.path() / "STORAGE CARD" / "CORVANDATA" / "DLL" / name,
                  fs::copy_options::overwrite_existing);
}

void VagRig::boot(const std::string& json) {
    auto loaded = sim::loadScenarioText(json, "test");
    ASSERT_TRUE(loaded.ok()) << loaded.error;
    box = std::make_unique<sim::Varbox>(std::move(*loaded.scenario));
    port = std::make_unique<MemoryPort>(clock, *box);
    link.port = port.get();
    link.host = &host;
}

sim::Kw1281Unit& VagRig::unit() const {
    auto* u = dynamic_cast<sim::Kw1281Unit*>(box->ecu(0));
    if (!u) throw std::runtime_error("no KW1281 unit");
    return *u;
}

std::vector<Bytes> VagRig::ecuMessages() const {
    std::vector<Bytes> out;
    for (const Bytes& f : sent(0x20))
        if (f.size() > 4) out.emplace_back(f.begin() + 4, f.end() - 1);
    return out;
}

std::vector<Bytes> VagRig::sent(uint8_t command) const {
    std::vector<Bytes> out;
    for (const Bytes& f : frames.sent)
        if (f.size() >= 4 && f[2] == command) out.push_back(f);
    return out;
}

std::vector<std::string> VagRig::boxTexts() const {
    std::vector<std::string> texts;
    for (const ui::MessageBoxRecord& b : screen.messageBoxes()) texts.push_back(b.text);
    return texts;
}

const ui::DialogSnapshot& VagRig::shown(const std::string& name) const {
    const ui::DialogSnapshot* s = screen.lastSnapshot(name);
    if (!s) throw std::runtime_error("no dialog " + name);
    return *s;
}

}  // namespace corvan::vagkline::testing
