#include "sim/scenario_loader.h"

#include <gtest/gtest.h>

namespace corvan::sim {
namespace {

// The place and the words an error must name.
void expectError(const char* json, const char* place, const char* words) {
    const LoadResult r = loadScenarioText(json, "bad.json");
    ASSERT_FALSE(r.ok()) << json;
    EXPECT_EQ(r.error.rfind("bad.json: ", 0), 0u) << r.error;
    EXPECT_NE(r.error.find(std::string(": ") + place + ": "), std::string::npos) << r.error;
    EXPECT_NE(r.error.find(words), std::string::npos) << r.error;
}

TEST(ScenarioLoader, SampleScenarioLoads) {
    const LoadResult r = loadScenarioFile(CORVAN_SIM_SCENARIOS "/sample_vehicle.json");
    ASSERT_TRUE(r.ok()) << r.error;
    const Scenario& s = *r.scenario;
    // The engine and ABS units first; the other units of the vehicle follow.
    ASSERT_GE(s.ecus.size(), 2u);
    EXPECT_EQ(s.ecus[0].name, "engine");
    EXPECT_EQ(s.ecus[0].select.line, EcuSelector::Line::KLine);
    EXPECT_EQ(s.ecus[0].select.id, 0x10);
    EXPECT_EQ(s.ecus[1].select.line, EcuSelector::Line::Can);
    EXPECT_EQ(s.box.connectedEcu, 0);
    EXPECT_EQ(s.box.keepAlive, std::vector<uint8_t>{0x3E});
}

TEST(ScenarioLoader, EveryPartIsRead) {
    const LoadResult r = loadScenarioText(R"({
        "box": {"program": "none", "driverName": "CANBUS", "nameBlank": false,
                "adapter": "NISS", "outputLoop": true, "failingLines": ["L", "A"],
                "voltage": "11.9", "driverCode": "01 02 03 04 05", "checksumFlag": 1,
                "state": 2, "registers": {"08": "40", "11": "00"}, "keepAlive": "81 10 F1 3E",
                "keepAliveOn": true, "keepAliveIntervalMs": 2500, "connectedEcu": null,
                "resetBusyMs": 100, "download": {"refuseBlock": 1, "refuseTimes": 2,
                "failDownloads": 1, "fallbackName": "X"}},
        "timing": {"pacing": true, "baud": 10400, "replyDelayMs": 3, "frameGapMs": 50},
        "ecus": [{"select": "any", "model": "table"}],
        "faults": [{"kind": "late", "skip": 2, "count": -1, "command": "20", "delayMs": 900},
                   {"kind": "garbage", "garbage": "FF 00", "before": true}]
    })",
                                          "all.json");
    ASSERT_TRUE(r.ok()) << r.error;
    const Scenario& s = *r.scenario;
    EXPECT_EQ(s.box.program, ProgramState::None);
    EXPECT_FALSE(s.box.nameBlank);
    EXPECT_EQ(s.box.wiring.adapter, Adapter::Niss);
    EXPECT_EQ(s.box.wiring.outputLoop, true);
    EXPECT_EQ(s.box.wiring.linesOk, (std::array<bool, 4>{true, false, true, false}));
    EXPECT_EQ(s.box.driverCode, (std::array<uint8_t, 5>{1, 2, 3, 4, 5}));
    EXPECT_EQ(s.box.forcedState, 2);
    EXPECT_EQ(s.box.registers[0x08], 0x40);
    EXPECT_EQ(s.box.keepAliveIntervalUs, 2500000);
    EXPECT_EQ(s.box.connectedEcu, BoxConfig::kNoEcu);
    EXPECT_EQ(s.box.download.refuseTimes, 2);
    EXPECT_TRUE(s.timing.pacing);
    EXPECT_EQ(s.timing.baud, 10400);
    ASSERT_EQ(s.ecus.size(), 1u);
    EXPECT_EQ(s.ecus[0].name, "ecu0");
    EXPECT_EQ(s.ecus[0].select.line, EcuSelector::Line::Any);
    ASSERT_EQ(s.faults.size(), 2u);
    EXPECT_EQ(s.faults[0].kind, FaultKind::Late);
    EXPECT_EQ(s.faults[0].command, 0x20);
    EXPECT_EQ(s.faults[0].delayUs, 900000);
    EXPECT_EQ(s.faults[1].garbage, (std::vector<uint8_t>{0xFF, 0x00}));
}

TEST(ScenarioLoader, MalformedJsonNamesLineAndColumn) {
    const LoadResult r = loadScenarioText("{\n  \"box\": {\n    \"adapter\": \"MB\",,\n", "m.json");
    ASSERT_FALSE(r.ok());
    EXPECT_NE(r.error.find("m.json: line 3, column"), std::string::npos) << r.error;
    EXPECT_NE(r.error.find("not valid JSON"), std::string::npos);
    EXPECT_FALSE(loadScenarioText("", "e.json").ok());
    EXPECT_FALSE(loadScenarioText("[1, 2]", "e.json").ok());
}

TEST(ScenarioLoader, MistakesNameTheirPlace) {
    expectError(R"({"ecus": [{"model": "table"}, {"model": "tabel"}]})", "/ecus/1/model",
                "unknown model \"tabel\" (known: ");
    expectError(R"({"ecus": [{"model": "tabel"}]})", "/ecus/0/model", ", table)");
    expectError(R"({"ecus": [{"model": "table", "config": {"rules": [
                   {"request": "1A 80", "reply": "5A"}, {"request": "1A X0", "reply": "5A"}]}}]})",
                "/ecus/0/config/rules/1/request", "bad hex digit");
    expectError(R"({"ecus": [{"name": "e"}]})", "/ecus/0", "without \"model\"");
    expectError(R"({"ecus": [{"model": "table", "select": {"line": "kline", "id": "1"}}]})",
                "/ecus/0/select/id", "lone hex digit");
    expectError(R"({"ecus": [{"model": "table", "select": {"line": "lin"}}]})",
                "/ecus/0/select/line", "kline");
    expectError(R"({"box": {"adapter": "USB"}})", "/box/adapter", "unknown adapter");
    expectError(R"({"box": {"driverCode": "01 02"}})", "/box/driverCode", "expected 5 bytes");
    expectError(R"({"box": {"driverName": 7}})", "/box/driverName", "expected a string");
    expectError(R"({"box": {"registers": {"8": "00"}}})", "/box/registers/8", "one hex byte");
    expectError(R"({"box": {"connectedEcu": "abs"}})", "/box/connectedEcu", "no ECU named");
    expectError(R"({"box": {"connectedEcu": 3}, "ecus": [{"model": "table"}]})",
                "/box/connectedEcu", "outside");
    expectError(R"({"box": {"programm": "none"}})", "/box/programm", "unknown key");
    expectError(R"({"faults": [{"kind": "smoke"}]})", "/faults/0/kind", "unknown fault");
    expectError(R"({"faults": [{"kind": "silence", "count": 0}]})", "/faults/0/count",
                "at least once");
    expectError(R"({"timing": {"baud": 0}})", "/timing/baud", "outside");
}

TEST(ScenarioLoader, MissingFileIsAnErrorNotACrash) {
    const LoadResult r = loadScenarioFile("/nonexistent/scenario.json");
    ASSERT_FALSE(r.ok());
    EXPECT_NE(r.error.find("/nonexistent/scenario.json"), std::string::npos);
}

TEST(ScenarioLoader, ModelsComeFromTheGivenRegistry) {
    EcuModelRegistry models = builtinModels();
    int made = 0;
    models.add("probe", [&](const JsonNode& config) -> std::unique_ptr<EcuModel> {
        ++made;
        int64_t level = 0;
        if (!config.get("level", level, 0, 9)) return nullptr;
        struct Probe final : EcuModel {
            EcuReply request(std::span<const uint8_t>, int64_t) override {
                return EcuReply::answer({0x01});
            }
        };
        return std::make_unique<Probe>();
    });
    EXPECT_TRUE(loadScenarioText(R"({"ecus": [{"model": "probe"}]})", "p", models).ok());
    const LoadResult bad =
        loadScenarioText(R"({"ecus": [{"model": "probe", "config": {"level": 12}}]})", "p", models);
    EXPECT_NE(bad.error.find("p: /ecus/0/config/level: number 12 outside 0..9"), std::string::npos)
        << bad.error;
    EXPECT_EQ(made, 2);
}

}  // namespace
}  // namespace corvan::sim
