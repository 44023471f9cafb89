#include "tools/boxservice/boxservice_test_rig.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "sim/scenario_loader.h"
#include "tools/boxservice/service_app.h"

namespace corvan::boxservice::testing {

namespace fs = std::filesystem;

std::string scenario(std::string_view boxMembers, std::string_view bluetoothMembers,
                     std::string_view extra) {
    std::string box = R"("program": "running", "driverName": "KWP2000", "adapter": "OBDII")";
    if (!boxMembers.empty()) box += ", " + std::string(boxMembers);
    std::string text = R"({"box": {)" + box + "}";
    if (!bluetoothMembers.empty())
        text += R"(, "bluetooth": {)" + std::string(bluetoothMembers) + "}";
    if (!extra.empty()) text += ", " + std::string(extra);
    return text + "}";
}

Rig::Rig(const std::string& scenarioText, std::string_view config) : root(dir.path()) {
    const fs::path exe = dir.path() / "STORAGE CARD" / "CORVANDATA" / "EXE";
    fs::create_directories(exe);
    if (!config.empty()) std::ofstream(exe / "iCor.cfg", std::ios::binary) << config;
    auto loaded = sim::loadScenarioText(scenarioText, "test scenario");
    EXPECT_TRUE(loaded.ok()) << loaded.error;
    line = std::make_unique<SimulatedLine>(std::move(*loaded.scenario), clock);
    ports = std::make_unique<HostPorts>(line.get(), "");
    host.screen = &screen;
    host.clock = &clock;
    host.root = &root;
    host.ports = ports.get();
    screen.setRunawayHandler(
        [](const ui::RunReport& r) { throw std::runtime_error("runaway run:\n" + r.text()); });
}

void Rig::script(std::string_view text) {
    ASSERT_EQ(screen.loadScript(text), "");
}

void Rig::run(int row) {
    runServiceCommand(host, row);
}

void Rig::writeFile(std::string_view devicePath, const Bytes& bytes) {
    const fs::path file = root.toHost(devicePath);
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::vector<std::string> Rig::boxTexts() const {
    std::vector<std::string> texts;
    for (const auto& b : screen.messageBoxes()) texts.push_back(b.text);
    return texts;
}

std::vector<Bytes> Rig::frames() const {
    std::vector<Bytes> out;
    for (const auto& f : line->box().frames()) out.emplace_back(f.begin(), f.end() - 1);
    return out;
}

std::vector<Bytes> Rig::framesWith(uint8_t command) const {
    std::vector<Bytes> out;
    for (const Bytes& f : frames())
        if (f.size() > 2 && f[2] == command) out.push_back(f);
    return out;
}

std::string Rig::wireText() const {
    const auto& w = line->wire();
    return std::string(w.begin(), w.end());
}

std::vector<std::pair<uint8_t, uint8_t>> Rig::registerWrites() const {
    std::vector<std::pair<uint8_t, uint8_t>> out;
    for (const auto& w : line->box().registerWrites()) out.emplace_back(w.reg, w.value);
    return out;
}

}  // namespace corvan::boxservice::testing
