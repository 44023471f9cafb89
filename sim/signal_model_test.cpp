// Moving signals: their courses over time, their encoding into reply bytes, the model
// behind the box on the virtual clock, and the mistakes a scenario can make.
#include "sim/signal_model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "sim/sim_test_support.h"

namespace corvan::sim {
namespace {

using Bytes = std::vector<uint8_t>;

std::unique_ptr<SignalModel> model(const char* json, std::string* error = nullptr) {
    const nlohmann::json j = nlohmann::json::parse(json);
    Problem p;
    auto m = SignalModel::fromJson(JsonNode(j, "/config", p), builtinModels());
    if (error) *error = p.place + ": " + p.message;
    if (!m && !error) ADD_FAILURE() << p.place << ": " << p.message;
    return m;
}

double at(const SignalModel& m, size_t signal, double ms) {
    return m.signals().at(signal).at(ms);
}

TEST(SignalModel, CoursesOverTime) {
    // Signals are listed by name: coolant, gear, idle, noise, once, rpm, saw.
    auto m = model(R"({"signals": {
        "coolant": {"kind": "ramp", "from": 20, "to": 90, "durationMs": 1000},
        "saw": {"kind": "ramp", "from": 0, "to": 10, "durationMs": 100, "repeat": true},
        "rpm": {"kind": "sine", "mean": 800, "amplitude": 50, "periodMs": 4000},
        "idle": {"kind": "constant", "value": 1},
        "gear": {"kind": "steps", "values": [0, 1, 2], "stepMs": 500},
        "once": {"kind": "steps", "values": [5, 6], "stepMs": 500, "repeat": false},
        "noise": {"kind": "noise", "mean": 14, "spread": 0.5, "seed": 7, "holdMs": 100}}})");
    ASSERT_TRUE(m);
    EXPECT_DOUBLE_EQ(at(*m, 0, 0), 20);
    EXPECT_DOUBLE_EQ(at(*m, 0, 500), 55);    // half way from 20 to 90
    EXPECT_DOUBLE_EQ(at(*m, 0, 5000), 90);   // then it holds
    EXPECT_DOUBLE_EQ(at(*m, 6, 250), 5);     // the saw starts over every 100 ms
    EXPECT_DOUBLE_EQ(at(*m, 5, 1000), 850);  // a quarter period: the top
    EXPECT_NEAR(at(*m, 5, 3000), 750, 1e-9);
    EXPECT_DOUBLE_EQ(at(*m, 2, 123456), 1);
    EXPECT_DOUBLE_EQ(at(*m, 1, 499), 0);
    EXPECT_DOUBLE_EQ(at(*m, 1, 1200), 2);
    EXPECT_DOUBLE_EQ(at(*m, 1, 1500), 0);  // cycles
    EXPECT_DOUBLE_EQ(at(*m, 4, 9000), 6);  // holds the last
    // Noise: held for 100 ms, the same on every run, within the spread, and moving.
    EXPECT_DOUBLE_EQ(at(*m, 3, 10), at(*m, 3, 90));
    auto again = model(R"({"signals": {"n": {"kind": "noise", "mean": 14, "spread": 0.5,
                                             "seed": 7, "holdMs": 100}}})");
    std::set<double> seen;
    for (int step = 0; step < 50; ++step) {
        const double v = at(*m, 3, step * 100.0);
        EXPECT_DOUBLE_EQ(v, at(*again, 0, step * 100.0));
        EXPECT_GE(v, 13.5);
        EXPECT_LE(v, 14.5);
        seen.insert(v);
    }
    EXPECT_GT(seen.size(), 40u);
}

TEST(SignalModel, FieldEncoding) {
    SignalField f;
    EXPECT_EQ(encodeField(f, 41.6), Bytes{42});
    EXPECT_EQ(encodeField(f, -3), Bytes{0});  // clamped
    EXPECT_EQ(encodeField(f, 300), Bytes{255});
    f.bytes = 2;
    f.scale = 0.25;
    EXPECT_EQ(encodeField(f, 800), (Bytes{0x0C, 0x80}));  // 3200
    f.bytes = 1;
    f.scale = 1;
    f.offset = -40;
    EXPECT_EQ(encodeField(f, 50), Bytes{90});  // coolant written with 40 added
    f.offset = 0;
    f.isSigned = true;
    EXPECT_EQ(encodeField(f, -56), Bytes{0xC8});
    EXPECT_EQ(encodeField(f, -500), Bytes{0x80});
    EXPECT_EQ(encodeField(f, 500), Bytes{0x7F});
    EXPECT_EQ(encodeField(f, std::nan("")), Bytes{0x80});
}

TEST(SignalModel, AnswersMoveOnTheClockBehindTheBox) {
    testing::BoxRig rig(R"({"box": {"program": "running"}, "ecus": [{"model": "signals",
      "config": {"delayMs": 20,
        "signals": {"rpm": {"kind": "ramp", "from": 800, "to": 3000, "durationMs": 10000}},
        "answers": [{"request": "21 01", "reply": "61 01 00 00 ??",
                     "fields": [{"at": 2, "signal": "rpm", "bytes": 2, "scale": 0.25}]}],
        "base": {"model": "table", "config": {"rules": [{"request": "1A 80", "reply": "5A 80"}]}}}}]})");
    const Bytes request = testing::hex("80 03 20 00 21 01");
    rig.clock.advanceUs(7000000);  // time before the first message does not count
    const Bytes first = rig.exchange(request);
    ASSERT_EQ(first.size(), 10u);
    EXPECT_EQ(Bytes(first.begin() + 4, first.end() - 1), (Bytes{0x61, 0x01, 0x0C, 0x80, 0x00}));
    rig.clock.advanceUs(5000000 - (rig.clock.nowUs() - 7000000));
    const Bytes later = rig.exchange(request);
    // Half way up the ramp, plus the 20 ms answer time: 1900 rpm and a little, × 4.
    const int raw = later[6] * 256 + later[7];
    EXPECT_GE(raw, 7600);
    EXPECT_LE(raw, 7620);
    EXPECT_EQ(rig.exchange(testing::hex("80 03 20 00 1A 80")),
              testing::hex("80 03 20 00 5A 80 79"));
    // Without a base, other requests get no answer (the box says 0x0A).
    testing::BoxRig bare(R"({"box": {"program": "running"}, "ecus": [{"model": "signals"}]})");
    EXPECT_EQ(bare.exchange(testing::hex("80 02 20 00 3E")), testing::hex("00 00 0A 0A"));
}

TEST(SignalModel, CourseStartsAtTheFirstMessageAndAnswersTakeTheirTime) {
    auto m = model(R"({"delayMs": 20,
        "signals": {"t": {"kind": "ramp", "from": 0, "to": 100, "durationMs": 10000}},
        "answers": [{"request": "21 01", "reply": "61 01 00", "fields": [{"at": 2, "signal": "t"}]},
                    {"request": "21 02", "reply": "61 02", "delayMs": 5}]})");
    const Bytes request{0x21, 0x01};
    const EcuReply first = m->request(request, 0);  // the first message at the clock's origin
    EXPECT_EQ(first.bytes, (Bytes{0x61, 0x01, 0}));
    EXPECT_EQ(first.delayUs, 20000);
    EXPECT_EQ(m->request(request, 5000000).bytes, (Bytes{0x61, 0x01, 50}));
    EXPECT_EQ(m->request(Bytes{0x21, 0x02}, 0).delayUs, 5000);
}

TEST(SignalModel, ScenarioMistakesNameTheirPlace) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"signals": {"a": {"kind": "wobble"}}})", "/config/signals/a/kind"},
        {R"({"signals": {"a": {"value": 1}}})", "/config/signals/a"},
        {R"({"signals": {"a": {"kind": "sine", "periodMs": 0}}})", "/config/signals/a/periodMs"},
        {R"({"signals": {"a": {"kind": "steps", "values": []}}})", "/config/signals/a/values"},
        {R"({"signals": {"a": {"kind": "constant", "value": "x"}}})", "/config/signals/a/value"},
        {R"({"signals": {"a": {"kind": "noise", "spread": -1}}})", "/config/signals/a/spread"},
        {R"({"signals": {"a": {"kind": "noise", "holdMs": 0}}})", "/config/signals/a/holdMs"},
        {R"({"signals": {"a": {"kind": "steps", "values": [1], "stepMs": 0}}})",
         "/config/signals/a/stepMs"},
        {R"({"signals": {"a": {"kind": "steps", "values": [1], "repeat": 3}}})",
         "/config/signals/a/repeat"},
        {R"({"answers": [{"request": "21 01", "reply": "61 01",
              "fields": [{"at": 1, "signal": "nope"}]}]})",
         "/config/answers/0/fields/0/signal"},
        {R"({"signals": {"a": {"kind": "constant"}}, "answers": [{"request": "21", "reply": "61",
              "fields": [{"at": 0, "signal": "a", "bytes": 2}]}]})",
         "/config/answers/0/fields/0/at"},
        {R"({"signals": {"a": {"kind": "constant"}}, "answers": [{"request": "21", "reply": "61",
              "fields": [{"at": 0, "signal": "a", "scale": 0}]}]})",
         "/config/answers/0/fields/0/scale"},
        {R"({"answers": [{"reply": "61"}]})", "/config/answers/0/request"},
        {R"({"answers": [{"request": "21 *", "reply": "61 *"}]})", "/config/answers/0/reply"},
        {R"({"base": {"model": "tabel"}})", "/config/base/model"},
        {R"({"base": {"model": "table", "config": {"rulez": []}}})", "/config/base/config/rulez"},
        {R"({"signal": {}})", "/config/signal"},
    };
    for (const auto& [json, place] : cases) {
        std::string error;
        EXPECT_EQ(model(json, &error), nullptr) << json;
        EXPECT_TRUE(error.starts_with(std::string(place) + ":")) << error;
    }
}

}  // namespace
}  // namespace corvan::sim
