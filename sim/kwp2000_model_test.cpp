// The KWP 2000 engine unit: its memory of codes through the self-test and the erase, the
// actuator routine step by step, headed and headerless messages, and its scenario config.
#include "sim/kwp2000_model.h"

#include <gtest/gtest.h>

#include "sim/hex_pattern.h"
#include "sim/scenario_loader.h"

namespace corvan::sim {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes hex(std::string_view t) {
    return parseHexBytes(t, nullptr).value_or(Bytes{});
}

std::unique_ptr<Kwp2000Model> unit(const std::string& config) {
    const nlohmann::json j = nlohmann::json::parse(config);
    Problem p;
    auto m = Kwp2000Model::fromJson(JsonNode(j, "/config", p));
    EXPECT_TRUE(m) << p.place << ": " << p.message;
    return m;
}

// The unit's answer as hex bytes ("noAnswer"/"silence" for the other kinds).
struct Ask {
    Kwp2000Model& m;
    int64_t now = 0;
    Bytes operator()(std::string_view message) {
        const EcuReply r = m.request(hex(message), now);
        if (r.kind == EcuReply::Kind::NoAnswer) return hex("EE EE");
        if (r.kind == EcuReply::Kind::Silence) return hex("DD DD");
        return r.bytes;
    }
};

const std::string kEngine = R"({
  "codes": [{"code": "0123", "status": "E0"}, {"code": "0420", "status": "A1"}],
  "selfTest": {"finds": {"81": ["0100"], "82": ["0100", "0300"]}},
  "default": {"reply": "7F $0 11"},
  "rules": [{"request": "1A 80", "reply": "5A 80 39"}]
})";

TEST(Kwp2000Model, SelfTestLeavesItsCodesAndEraseClearsThem) {
    auto m = unit(kEngine);
    Ask ask{*m};
    // Headed messages as the self-test writes them (the format byte one too high).
    EXPECT_EQ(ask("C4 10 FA 22 02 00"), hex("84 FA 10 62 02 00 00 F2"));
    EXPECT_EQ(ask("C4 10 FA 33 82 00"), hex("83 FA 10 7F 33 24 63"));  // not started
    EXPECT_EQ(ask("C4 10 FA 31 82 00"), hex("82 FA 10 71 82 7F"));
    ask.now = 1'000'000;
    EXPECT_EQ(ask("C4 10 FA 31 82 00"), hex("82 FA 10 71 82 7F"));  // runs on
    EXPECT_EQ(ask("C4 10 FA 32 82 00"), hex("82 FA 10 72 82 80"));
    EXPECT_EQ(ask("C4 10 FA 33 82 00"), hex("85 FA 10 73 01 00 03 00 06"));
    EXPECT_EQ(ask("C4 10 FA 33 82 00"), hex("83 FA 10 7F 33 24 63"));  // read once
    // The codes stay: the stored two, then the test's, present.
    EXPECT_EQ(ask("18 02 FF 00"), hex("58 04 01 23 E0 04 20 A1 01 00 E0 03 00 E0"));
    EXPECT_EQ(ask("C4 10 FA 14 FF 00"), hex("83 FA 10 54 FF 00 E0"));
    EXPECT_EQ(ask("18 02 FF 00"), hex("58 00"));
    EXPECT_TRUE(m->storedCodes().empty());
    // What the unit does not run itself comes from its table, headed or not.
    EXPECT_EQ(ask("1A 80"), hex("5A 80 39"));
    EXPECT_EQ(ask("82 10 F1 1A 80"), hex("83 F1 10 5A 80 39 97"));
    EXPECT_EQ(ask("21 01"), hex("7F 21 11"));
    // A second byte other than the unit's address is no header.
    EXPECT_EQ(ask("C4 11 FA 14 FF 00"), hex("7F C4 11"));
}

TEST(Kwp2000Model, SelfTestRefusalsAndTheFindsOfEachRoutine) {
    auto m = unit(R"({"selfTest": {"finds": {"81": ["C123"]}, "status": "60",
                                   "resultsAfterMs": 20000}})");
    Ask ask{*m};
    EXPECT_EQ(ask("31 81"), hex("71 81"));
    ask.now = 19'999'000;
    EXPECT_EQ(ask("33 81"), hex("7F 33 22"));  // too early
    ask.now = 20'000'000;
    EXPECT_EQ(ask("33 82"), hex("7F 33 24"));  // another routine was started
    EXPECT_EQ(ask("33 81"), hex("73 C1 23"));
    EXPECT_EQ(m->storedCodes(), (std::vector<StoredCode>{{0xC123, 0x60}}));
    EXPECT_EQ(ask("31 82"), hex("71 82"));
    ask.now = 40'000'000;
    EXPECT_EQ(ask("33 82"), hex("73"));  // finds nothing
    m->disconnected();
    EXPECT_EQ(ask("32 82"), hex("7F 32 24"));

    auto refusing = unit(R"({"selfTest": {"refuse": true}, "erase": {"refuse": true},
                             "codes": [{"code": "0100"}]})");
    Ask no{*refusing};
    EXPECT_EQ(no("31 81"), hex("7F 31 22"));
    EXPECT_EQ(no("14 FF 00"), hex("7F 14 22"));
    EXPECT_EQ(no("18 02 FF 00"), hex("58 01 01 00 E0"));
}

TEST(Kwp2000Model, ActuatorRoutineStepsThroughItsListToTheEndCode) {
    auto m = unit(R"({"actuators": {"steps": [{"code": 0}, {"code": 17, "busyMs": 1000},
                                               {"code": 33}]}})");
    Ask ask{*m};
    auto read = [&] { return ask("84 10 F1 31 BA 01 02"); };
    // Read before the start: refused.
    EXPECT_EQ(read()[3], 0x7F);
    EXPECT_EQ(ask("84 10 F1 31 B8 00 00"), hex("82 F1 10 71 B8 AC"));
    EXPECT_EQ(read()[3], 0x7F);  // prepared, not started
    EXPECT_EQ(ask("84 10 F1 31 B8 01 02"), hex("82 F1 10 71 B8 AC"));
    // 71 BA 01 02, busy flag, 00, code: as the actuator module reads bytes 11, 13, 14.
    EXPECT_EQ(read(), hex("88 F1 10 71 BA 01 02 00 00 00 00 B7"));
    ask("84 10 F1 31 B9 01 02");  // from code 0: on to 17, driven at once
    EXPECT_EQ(read(), hex("88 F1 10 71 BA 01 02 01 00 00 11 C9"));
    ask.now = 1'000'000;
    EXPECT_EQ(read()[7], 0x00);   // done with it
    ask("84 10 F1 31 B9 01 02");  // next: on to 33, not driven yet
    EXPECT_EQ(read()[10], 33);
    EXPECT_EQ(read()[7], 0x00);
    ask("84 10 F1 31 B9 01 02");  // driven (no busy time)
    ask("84 10 F1 31 B9 01 02");  // past the list
    Bytes end = read();
    EXPECT_EQ((end[9] << 8) | end[10], 1195);
    ask("84 10 F1 31 B9 01 02");
    ask("84 10 F1 31 B9 01 02");
    end = read();
    EXPECT_EQ((end[9] << 8) | end[10], 1195);  // stays at the end
    EXPECT_EQ(ask("84 10 F1 32 B8 01 02"), hex("82 F1 10 72 B8 AD"));
    EXPECT_EQ(read()[3], 0x7F);

    auto refusing = unit(R"({"actuators": {"refuse": true}})");
    EXPECT_EQ(Ask{*refusing}("84 10 F1 31 B8 01 02"), hex("83 F1 10 7F 31 22 56"));
}

TEST(Kwp2000Model, ScenarioConfigNamesItsMistakes) {
    auto errorOf = [](const std::string& config) {
        const LoadResult r = loadScenarioText(
            R"({"ecus": [{"model": "kwp2000", "config": )" + config + "}]}", "k.json");
        return r.ok() ? std::string("loaded") : r.error;
    };
    EXPECT_EQ(errorOf(kEngine), "loaded");
    EXPECT_EQ(errorOf(R"({"codes": [{"code": "01"}]})"),
              "k.json: /ecus/0/config/codes/0/code: expected a code of two hex bytes");
    EXPECT_EQ(errorOf(R"({"selfTest": {"finds": {"83": []}}})"),
              "k.json: /ecus/0/config/selfTest/finds/83: the self-test routines are 81 and 82");
    EXPECT_EQ(errorOf(R"({"rules": [{"request": "1A 8G", "reply": "5A"}]})")
                  .rfind("k.json: /ecus/0/config/rules/0/request: bad hex digit", 0),
              0u);
    EXPECT_EQ(errorOf(R"({"actuators": {"steps": [{"busyMs": 5}]}})"),
              "k.json: /ecus/0/config/actuators/steps/0: step without \"code\"");
    EXPECT_EQ(errorOf(R"({"codez": []})"), "k.json: /ecus/0/config/codez: unknown key \"codez\"");
}

}  // namespace
}  // namespace corvan::sim
