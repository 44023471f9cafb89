// The tool's own parts: reading traces (and refusing malformed ones), what it infers of the
// box, and the table ECUs it builds, each checked by replaying the result.
#include <gtest/gtest.h>

#include "runtime/frame.h"
#include "sim/scenario_loader.h"
#include "tools/trace2scenario/box_inference.h"
#include "tools/trace2scenario/replay.h"
#include "tools/trace2scenario/scenario_builder.h"
#include "tools/trace2scenario/trace_reader.h"

namespace corvan::trace {
namespace {

std::string frameText(uint8_t command, std::vector<uint8_t> data, bool flag) {
    return hexText(frame::build(command, data, flag));
}

// A request of the terminal at a time.
struct Ask {
    int64_t ms;
    std::vector<uint8_t> frame;
};
std::vector<uint8_t> ecuRequest(std::vector<uint8_t> message) {
    message.insert(message.begin(), 0x00);
    return frame::build(0x20, message, true);
}
std::vector<uint8_t> boxRequest(uint8_t command, std::vector<uint8_t> data = {}, bool flag = true) {
    return frame::build(command, data, flag);
}

// The trace a terminal would have written talking to the box of `scenario`: each request,
// then the box's replies at the moment they arrive.
std::string recordTrace(const std::string& scenario, const std::vector<Ask>& asks) {
    sim::LoadResult r = sim::loadScenarioText(scenario, "test");
    EXPECT_TRUE(r.ok()) << r.error;
    sim::Varbox box(std::move(*r.scenario));
    std::string out;
    ByteQueue q;
    for (const Ask& a : asks) {
        out += std::to_string(a.ms) + " TX " + hexText(a.frame) + "\n";
        q.clear();
        box.received(a.frame, a.ms * 1000, q);
        std::vector<uint8_t> reply;
        int64_t at = 0;
        while (!q.empty()) at = q.frontTime(), reply.push_back(q.pop());
        if (!reply.empty()) out += std::to_string(at / 1000) + " RX " + hexText(reply) + "\n";
    }
    return out;
}

Exchanges exchangesOf(const std::string& text) {
    const ParsedTrace p = parseTrace(text);
    EXPECT_TRUE(p.ok()) << p.error;
    return groupExchanges(p.lines);
}

BuiltScenario buildFrom(const std::string& text) {
    BuiltScenario b = buildScenario(exchangesOf(text), "test");
    EXPECT_TRUE(b.ok()) << b.error;
    return b;
}

TEST(TraceReader, ReadsEveryKindOfLineAndGroupsTheExchanges) {
    const std::string text =
        "# recorded on the sample vehicle\n"
        "\n"
        "0 LOST\r\n"
        "4472 TX 80 03 20 00 1A 80 39\n"
        "4517 RX 00 00 0A 0A\n"
        "4600 TX! 80 03\n"
        "4600 LOST\n"
        "4700 REOPENED\n"
        "4800 TX 80 00 82 02\n"
        "4900 RX! 80 01 82 01 00\n"
        "4901 REOPEN FAILED\n";
    const ParsedTrace p = parseTrace(text);
    ASSERT_TRUE(p.ok()) << p.error;
    ASSERT_EQ(p.lines.size(), 9u);
    EXPECT_EQ(p.lines[1].number, 4);
    EXPECT_EQ(p.lines[1].ms, 4472);
    EXPECT_EQ(p.lines[1].bytes, (std::vector<uint8_t>{0x80, 0x03, 0x20, 0x00, 0x1A, 0x80, 0x39}));
    EXPECT_EQ(p.lines[3].kind, LineKind::SentCut);
    EXPECT_EQ(p.lines[8].kind, LineKind::ReopenFailed);

    const Exchanges ex = groupExchanges(p.lines);
    ASSERT_EQ(ex.leading.size(), 1u);
    ASSERT_EQ(ex.list.size(), 3u);
    ASSERT_NE(ex.list[0].reply(), nullptr);
    EXPECT_EQ(ex.list[0].reply()->ms, 4517);
    EXPECT_EQ(ex.list[1].after.size(), 2u);  // LOST, REOPENED
    EXPECT_EQ(ex.list[1].reply(), nullptr);
    EXPECT_EQ(ex.list[2].reply(), nullptr);  // a damaged frame is no reply
}

TEST(TraceReader, RefusesMalformedLinesNamingThem) {
    const std::pair<std::string, std::string> cases[] = {
        {"10 TX 80 00 88 08\nx RX 00\n", "line 2: expected the milliseconds first"},
        {"10 TX 80 00 88 08\n5 RX 80 00 88 08\n", "line 2: the time goes backwards"},
        {"12x LOST\n", "line 1: expected the milliseconds first, found \"12x\""},
        {"10 SEND 80 00 88 08\n", "line 1: unknown direction \"SEND\""},
        {"10 TX 80 00 88 8\n", "line 1: \"8\" is not a byte"},
        {"10 TX 80 00 88 0G\n", "line 1: \"0G\" is not a byte"},
        {"10 TX 80 00 88 09\n", "line 1: the check byte does not match"},
        {"10 TX 80 01 88 09\n", "line 1: the header announces 5 bytes, the line holds 4"},
        {"10 RX 80 00\n", "line 1: a frame has at least 4 bytes"},
        {"10 LOST 80\n", "line 1: bytes after \"LOST\""},
        {"10\n", "line 1: the line ends after its time"},
        {"99999999999999999 LOST\n", "line 1: the time 99999999999999999 ms is out of range"},
    };
    for (const auto& [text, message] : cases) {
        const ParsedTrace p = parseTrace(text);
        EXPECT_FALSE(p.ok()) << text;
        EXPECT_EQ(p.error.rfind(message, 0), 0u) << p.error;
        EXPECT_TRUE(p.lines.empty());
    }
}

TEST(BoxInference, ProgramNameStateAndTemplateComeFromTheBoxReplies) {
    // A loader holding a valid driver, started, then asked its name (without a blank), the
    // connection state and the configuration template.
    const std::string name = "CANBUS" + std::string(13, '\0');
    std::vector<uint8_t> state = {0x00, '1', '1', '.', '9', '0', 1, 2, 3, 4, 5, 1};
    std::vector<uint8_t> tmpl(40, 0);
    tmpl[1] = 7;
    const std::string text =
        "0 TX " + hexText(boxRequest(0x13, {}, false)) + "\n5 RX " +
        frameText(0x13, {0xFF}, false) + "\n10 TX " + hexText(boxRequest(0xF0, {}, false)) +
        "\n15 RX " + frameText(0xF0, {1}, false) + "\n20 TX " + hexText(boxRequest(0x0F)) +
        "\n24 RX " + frameText(0x0F, {name.begin(), name.end()}, true) + "\n30 TX " +
        hexText(boxRequest(0x82)) + "\n37 RX " + frameText(0x82, state, true) + "\n40 TX " +
        hexText(boxRequest(0x81)) + "\n45 RX " + frameText(0x80, tmpl, true) + "\n";
    const BoxFindings f = inferBox(exchangesOf(text));
    EXPECT_EQ(f.box["program"], "loaded");
    EXPECT_EQ(f.box["driverName"], "CANBUS");
    EXPECT_EQ(f.box["nameBlank"], false);
    EXPECT_EQ(f.box["voltage"], "11.90");
    EXPECT_EQ(f.box["driverCode"], "01 02 03 04 05");
    EXPECT_EQ(f.box["checksumFlag"], 1);
    EXPECT_EQ(f.box["configTemplate"], hexText(tmpl));
    EXPECT_EQ(f.replyDelayMs, 4);  // the quickest reply
    EXPECT_TRUE(f.notes.empty());
}

// The adapter detection's register dialogue of boxstart, recorded against each cable, gives
// that cable back (or one the box cannot be told from).
TEST(BoxInference, FindsTheCableThatAnswersTheRegisterReadsAsRecorded) {
    const std::vector<Ask> detect = {
        {0, boxRequest(0x89)},
        {10, boxRequest(0x83, {0x08})},
        {20, boxRequest(0x84, {1, 0x08, 0, 0x60})},
        {30, boxRequest(0x83, {0x10})},
        {40, boxRequest(0x84, {1, 0x10, 0, 0x00})},
        {50, boxRequest(0x84, {1, 0x10, 0, 0x02})},
        {60, boxRequest(0x83, {0x08})},
        {70, boxRequest(0x84, {1, 0x08, 0, 0x40})},
        {80, boxRequest(0x84, {1, 0x10, 0, 0x00})},
        {90, boxRequest(0x83, {0x08})},
        {100, boxRequest(0x84, {1, 0x10, 0, 0x80})},
        {110, boxRequest(0x83, {0x08})},
        {120, boxRequest(0x84, {1, 0x11, 0, 0x80})},
        {130, boxRequest(0x84, {1, 0x10, 0, 0x00})},
        {140, boxRequest(0x83, {0x10})},
        {150, boxRequest(0x84, {1, 0x10, 0, 0x20})},
        {160, boxRequest(0x83, {0x10})},
    };
    for (const std::string cable : {"OBDII", "MB", "SAE", "CANYK"}) {
        const std::string scenario =
            R"({"box": {"adapter": ")" + cable + R"(", "registers": {"08": "40"}}, "ecus": []})";
        const Exchanges ex = exchangesOf(recordTrace(scenario, detect));
        const BoxFindings f = inferBox(ex);
        EXPECT_EQ(f.box["registers"]["08"], "40") << cable;
        EXPECT_TRUE(f.notes.empty()) << cable;
        Json s = {{"box", f.box}, {"ecus", Json::array()}};
        EXPECT_TRUE(checkScenario(s.dump(), ex).ok()) << cable << ": " << f.box.dump();
        if (cable == "CANYK" || cable == "MB") {
            EXPECT_EQ(f.box["adapter"], cable);
        }
    }
    // A read no cable gives: said, and the replay shows the difference.
    const std::string text = "0 TX " + hexText(boxRequest(0x83, {0x08})) + "\n5 RX " +
                             frameText(0x83, {0x00}, true) + "\n10 TX " +
                             hexText(boxRequest(0x83, {0x08})) + "\n15 RX " +
                             frameText(0x83, {0x04}, true) + "\n";
    const BoxFindings f = inferBox(exchangesOf(text));
    ASSERT_EQ(f.notes.size(), 1u);
    EXPECT_NE(f.notes[0].find("no adapter cable"), std::string::npos);
    EXPECT_NE(f.notes[0].find("line 4"), std::string::npos);
}

TEST(BoxInference, DownloadNameRefusedBlocksAndFailedChecks) {
    // A loader without a driver; the first download has block 1 refused twice and fails its
    // final check, the second succeeds; the image carries no name, so the box's own name for
    // it becomes the fallback name.
    const std::vector<uint8_t> block(256, 0x11);
    std::string t;
    int64_t ms = 0;
    auto ex = [&](std::vector<uint8_t> req, std::vector<uint8_t> reply) {
        t += std::to_string(ms) + " TX " + hexText(req) + "\n";
        t += std::to_string(ms + 3) + " RX " + hexText(reply) + "\n";
        ms += 10;
    };
    ex(boxRequest(0x13, {}, false), frame::build(0x13, std::vector<uint8_t>{0}, false));
    for (int round = 0; round < 2; ++round) {
        ex(boxRequest(0x15, {0x82, 0, 0, 0}, false),
           frame::build(0x15, std::vector<uint8_t>{0}, false));
        ex(frame::build(0x1A, block, false), frame::build(0x1A, std::vector<uint8_t>{0}, false));
        if (round == 0)
            for (int k = 0; k < 2; ++k)
                ex(frame::build(0x1A, block, false),
                   frame::build(0x1A, std::vector<uint8_t>{0x0A}, false));
        ex(frame::build(0x1A, block, false), frame::build(0x1A, std::vector<uint8_t>{0}, false));
        ex(boxRequest(0x1A, {0xEA, 0, 0, 0, 2}, false),
           frame::build(0x1A, std::vector<uint8_t>{0}, false));
        ex(boxRequest(0x13, {}, false),
           frame::build(0x13, std::vector<uint8_t>{uint8_t(round == 0 ? 0 : 0xFF)}, false));
    }
    ex(boxRequest(0xF0, {}, false), frame::build(0xF0, std::vector<uint8_t>{1}, false));
    std::vector<uint8_t> nameData = {'V', 'B', 'X', 'C', 'A', 'N', ' '};
    nameData.resize(19, 0);
    ex(boxRequest(0x0F), frame::build(0x0F, nameData, true));

    const Exchanges exs = exchangesOf(t);
    const BoxFindings f = inferBox(exs);
    EXPECT_EQ(f.box["program"], "none");
    EXPECT_EQ(f.box["download"]["refuseBlock"], 1);
    EXPECT_EQ(f.box["download"]["refuseTimes"], 2);
    EXPECT_EQ(f.box["download"]["failDownloads"], 1);
    EXPECT_EQ(f.box["download"]["fallbackName"], "VBXCAN");
    const BuiltScenario b = buildScenario(exs, "download");
    ASSERT_TRUE(b.ok());
    const ReplayCheck c = checkScenario(b.scenario.dump(), exs);
    EXPECT_TRUE(c.ok()) << (c.differences.empty() ? "" : c.differences[0]);
    EXPECT_EQ(c.framesCompared, 15);
    EXPECT_EQ(c.timesDiffering, 0);
}

// An engine unit reached over the K line by a configuration, asked twice the same thing
// with different answers, once not answering, then silent; the scenario replays it.
TEST(ScenarioBuilder, TellsAKLineConfigurationFromACanOneByItsPin) {
    // A K-line configuration begins with 1 and holds a pin; its second byte is the
    // template's own (here 0), so only the pin tells it.
    std::vector<uint8_t> kline(40, 0);
    kline[0] = 1, kline[3] = 0xA0, kline[5] = 0x10, kline[11] = 0x81;
    EXPECT_EQ(selectorFor(kline),
              Json::parse(R"({"line": "kline", "id": "10", "pin": 1, "begins": "81"})"));
    // CAN channel 1: bit timing where the pin would be.
    std::vector<uint8_t> can(40, 0);
    can[0] = 1, can[2] = 0x01, can[3] = 0x1C, can[4] = 0xFF, can[5] = 0x20, can[10] = 0x28;
    EXPECT_EQ(selectorFor(can), Json::parse(R"({"line": "can", "channel": 1, "respCode": "28",
                                               "acceptCode": "20", "acceptMask": "FF"})"));
    EXPECT_EQ(selectorFor(std::vector<uint8_t>(12, 1)), Json::parse(R"({"line": "any"})"));
}

TEST(ScenarioBuilder, TableRulesSequencesAndDelaysFromTheEcuExchanges) {
    std::vector<uint8_t> config(40, 0);
    config[0] = 1, config[1] = 2, config[3] = 0xA0, config[5] = 0x10;
    config[11] = 0x81, config[12] = 0x10;
    const std::string scenario = R"({"box": {"connectedEcu": null}, "timing": {"replyDelayMs": 3},
      "ecus": [{"name": "engine", "select": {"line": "kline", "id": "10"}, "model": "table",
        "config": {"delayMs": 40, "connect": {"reply": "C1 EF 8F", "delayMs": 300},
          "rules": [{"request": "21 01", "replies": ["61 01 00", {"reply": "61 01 01", "delayMs": 90}]},
                    {"request": "1A 80", "reply": "5A 80 39"},
                    {"request": "14 FF 00", "noAnswer": true},
                    {"request": "31 *", "silence": true}]}}]})";
    const std::vector<Ask> asks = {
        {0, ecuRequest({0x1A, 0x80})},  // not connected yet: the box says no answer
        {100, frame::build(0x80, config, true)}, {500, ecuRequest({0x21, 0x01})},
        {600, ecuRequest({0x1A, 0x80})},         {700, ecuRequest({0x21, 0x01})},
        {900, ecuRequest({0x21, 0x01})},         {1000, ecuRequest({0x14, 0xFF, 0x00})},
        {1100, ecuRequest({0x31, 0x02})},
    };
    const std::string text = recordTrace(scenario, asks);
    const BuiltScenario b = buildFrom(text);
    const Json& ecus = b.scenario["ecus"];
    ASSERT_EQ(ecus.size(), 1u);
    EXPECT_EQ(b.scenario["box"]["connectedEcu"], nullptr);
    EXPECT_EQ(ecus[0]["name"], "kline-10");
    EXPECT_EQ(ecus[0]["select"],
              Json::parse(R"({"line": "kline", "id": "10", "pin": 1, "begins": "81 10"})"));
    const Json& c = ecus[0]["config"];
    EXPECT_EQ(c["delayMs"], 40);
    EXPECT_EQ(c["connect"], Json::parse(R"({"reply": "C1 EF 8F", "delayMs": 300})"));
    EXPECT_EQ(c["rules"], Json::parse(R"([
        {"request": "21 01", "replies": ["61 01 00", {"reply": "61 01 01", "delayMs": 90},
                                         {"reply": "61 01 01", "delayMs": 90}]},
        {"request": "1A 80", "reply": "5A 80 39"},
        {"request": "14 FF 00", "noAnswer": true},
        {"request": "31 02", "silence": true}])"));
    const ReplayCheck check = checkScenario(b.scenario.dump(), exchangesOf(text));
    EXPECT_TRUE(check.ok());
    EXPECT_EQ(check.framesCompared, 7);  // the silent request has none
    EXPECT_EQ(check.timesDiffering, 0);
}

TEST(ScenarioBuilder, PowerUpUnitCanUnitsAndLineFaults) {
    // The driver talks to an ECU at power-up, then a CAN unit is configured; one reply came
    // with an inverted check byte, and the line hung up once and came back.
    std::vector<uint8_t> can(40, 0);
    can[0] = 1, can[1] = 0x01, can[2] = 0x01, can[3] = 0x1C, can[5] = 0x20, can[10] = 0x28;
    const std::string scenario = R"({"ecus": [
      {"name": "first", "select": {"line": "kline", "id": "10"}, "model": "table",
       "config": {"rules": [{"request": "3E", "reply": "7E"}]}},
      {"name": "abs", "select": {"line": "can", "channel": 1, "respCode": "28"}, "model": "table",
       "config": {"delayMs": 20, "rules": [{"request": "1A 9B", "reply": "5A 9B 41"}]}}]})";
    std::string text = recordTrace(scenario, {{0, ecuRequest({0x3E})},
                                              {50, frame::build(0x80, can, true)},
                                              {100, ecuRequest({0x1A, 0x9B})}});
    // The same request again: its reply damaged (check inverted), then the line lost.
    auto good = frame::build(0x20, std::vector<uint8_t>{0x00, 0x5A, 0x9B, 0x41}, true);
    auto bad = good;
    bad.back() ^= 0xFF;
    text += "200 TX " + hexText(ecuRequest({0x1A, 0x9B})) + "\n220 RX! " + hexText(bad) + "\n";
    text += "300 TX " + hexText(ecuRequest({0x1A, 0x9B})) + "\n300 LOST\n400 REOPENED\n";
    text += "500 TX " + hexText(ecuRequest({0x1A, 0x9B})) + "\n520 RX " + hexText(good) + "\n";

    const BuiltScenario b = buildFrom(text);
    const Json& ecus = b.scenario["ecus"];
    ASSERT_EQ(ecus.size(), 2u);
    EXPECT_EQ(ecus[0]["name"], "can1-28");
    EXPECT_EQ(ecus[0]["select"]["line"], "can");
    EXPECT_EQ(ecus[0]["select"]["acceptCode"], "20");
    EXPECT_EQ(ecus[1]["name"], "at-power-up");
    EXPECT_FALSE(ecus[1].contains("select"));
    EXPECT_EQ(b.scenario["box"]["connectedEcu"], "at-power-up");
    EXPECT_EQ(ecus[0]["config"]["connect"], Json::parse(R"({"delayMs": 0})"));
    EXPECT_EQ(b.scenario["faults"], Json::parse(R"([
        {"kind": "corruptCheck", "skip": 3, "count": 1},
        {"kind": "hangUp", "skip": 4, "count": 1, "comesBack": true}])"));
    const ReplayCheck check = checkScenario(b.scenario.dump(), exchangesOf(text));
    EXPECT_TRUE(check.ok()) << (check.differences.empty() ? "" : check.differences[0]);
    EXPECT_EQ(check.framesCompared, 5);
}

TEST(ScenarioBuilder, WhatTheSimulatedBoxCannotRepeatIsSaidAndFoundByTheReplay) {
    // The box's voltage drops during the session; a reply is damaged beyond an inverted check.
    std::vector<uint8_t> s1 = {0x01, '1', '2', '.', '6', '0', 0, 0, 0, 0, 1, 0};
    std::vector<uint8_t> s2 = s1;
    s2[4] = '1';
    const std::string text = "0 TX " + hexText(boxRequest(0x82)) + "\n5 RX " +
                             frameText(0x82, s1, true) + "\n10 TX " + hexText(boxRequest(0x82)) +
                             "\n15 RX " + frameText(0x82, s2, true) + "\n20 TX " +
                             hexText(ecuRequest({0x3E})) + "\n25 RX! 80 03 20 00 7E\n";
    const Exchanges ex = exchangesOf(text);
    const BuiltScenario b = buildScenario(ex, "x");
    ASSERT_TRUE(b.ok());
    ASSERT_EQ(b.notes.size(), 2u);
    EXPECT_NE(b.notes[0].find("changed its voltage or codes at line 4"), std::string::npos);
    EXPECT_NE(b.notes[1].find("line 6: a damaged reply"), std::string::npos);
    const ReplayCheck c = checkScenario(b.scenario.dump(), ex);
    ASSERT_EQ(c.differences.size(), 2u);
    EXPECT_EQ(c.differences[0].rfind("line 4: recorded", 0), 0u);
    EXPECT_EQ(c.differences[1].rfind("line 5: the box answered with 1 frame(s)", 0), 0u);

    // Texts the simulated box cannot hold (a voltage in bytes other than ASCII, a driver
    // name of 19 characters): the scenario still loads, and the check shows both.
    std::vector<uint8_t> odd = s1;
    odd[1] = 0xC8;
    const std::vector<uint8_t> longName(19, 'N');
    const std::string text2 = "0 TX " + hexText(boxRequest(0x82)) + "\n5 RX " +
                              frameText(0x82, odd, true) + "\n10 TX " + hexText(boxRequest(0x0F)) +
                              "\n15 RX " + frameText(0x0F, longName, true) + "\n";
    const Exchanges ex2 = exchangesOf(text2);
    const BuiltScenario b2 = buildScenario(ex2, "x");
    ASSERT_TRUE(b2.ok()) << b2.error;
    ASSERT_EQ(b2.notes.size(), 1u);
    EXPECT_NE(b2.notes[0].find("the voltage at line 2 holds bytes other than"), std::string::npos);
    EXPECT_EQ(b2.scenario["box"]["voltage"], "?2.60");
    EXPECT_EQ(checkScenario(scenarioText(b2.scenario), ex2).differences.size(), 2u);

    EXPECT_FALSE(buildScenario(exchangesOf("0 LOST\n"), "x").ok());
}

}  // namespace
}  // namespace corvan::trace
