#include "sim/table_model.h"

#include <gtest/gtest.h>

namespace corvan::sim {
namespace {

using Bytes = std::vector<uint8_t>;
using Kind = EcuReply::Kind;

std::unique_ptr<TableModel> table(const char* json, std::string* error = nullptr) {
    const nlohmann::json j = nlohmann::json::parse(json);
    Problem p;
    auto m = TableModel::fromJson(JsonNode(j, "/config", p));
    if (error) *error = p.place + ": " + p.message;
    if (!m && !error) ADD_FAILURE() << p.place << ": " << p.message;
    return m;
}

TEST(TableModel, FirstMatchingRuleAnswersWithWildcardsAndEcho) {
    auto m = table(R"({"rules": [
        {"request": "1A 80", "reply": "5A 80 31 32"},
        {"request": "1A ??", "reply": "5A ?? 00"},
        {"request": "21 *", "reply": "61"}]})");
    const auto a = m->request(Bytes{0x1A, 0x80}, 0);
    EXPECT_EQ(a.kind, Kind::Answer);
    EXPECT_EQ(a.bytes, (Bytes{0x5A, 0x80, 0x31, 0x32}));
    EXPECT_EQ(m->request(Bytes{0x1A, 0x9B}, 0).bytes, (Bytes{0x5A, 0x9B, 0x00}));
    EXPECT_EQ(m->request(Bytes{0x21, 0x01, 0x02}, 0).bytes, Bytes{0x61});
    EXPECT_EQ(m->hits(), (std::vector<int>{1, 1, 1}));
}

TEST(TableModel, UnmatchedRequestsGetTheDefault) {
    EXPECT_EQ(table(R"({"rules": []})")->request(Bytes{0x10}, 0).kind, Kind::NoAnswer);
    auto m = table(R"({"default": {"reply": "7F $0 11"}})");
    EXPECT_EQ(m->request(Bytes{0x31, 0x05}, 0).bytes, (Bytes{0x7F, 0x31, 0x11}));
    EXPECT_EQ(table(R"({"default": "silence"})")->request(Bytes{}, 0).kind, Kind::Silence);
}

TEST(TableModel, SequencesStayOnTheLastOrCycle) {
    auto m = table(R"({"rules": [
        {"request": "21 01", "replies": ["61 01 00", "noAnswer", "61 01 02"]},
        {"request": "21 02", "replies": ["61 02 00", "61 02 01"], "then": "cycle"}]})");
    std::vector<Kind> kinds;
    for (int i = 0; i < 4; ++i) kinds.push_back(m->request(Bytes{0x21, 0x01}, 0).kind);
    EXPECT_EQ(kinds, (std::vector<Kind>{Kind::Answer, Kind::NoAnswer, Kind::Answer, Kind::Answer}));
    EXPECT_EQ(m->request(Bytes{0x21, 0x01}, 0).bytes, (Bytes{0x61, 0x01, 0x02}));

    std::vector<uint8_t> last;
    for (int i = 0; i < 5; ++i) last.push_back(m->request(Bytes{0x21, 0x02}, 0).bytes[2]);
    EXPECT_EQ(last, (Bytes{0, 1, 0, 1, 0}));
}

TEST(TableModel, DelaysSilenceAndConnect) {
    auto m = table(R"({"delayMs": 30, "connect": {"reply": "C1 EF 8F", "delayMs": 300},
        "rules": [
        {"request": "10", "reply": "50"},
        {"request": "11", "reply": "51", "delayMs": 900},
        {"request": "12", "silence": true},
        {"request": "13", "replies": [{"reply": "53", "delayMs": 5}, "silence"], "delayMs": 70}]})");
    EXPECT_EQ(m->request(Bytes{0x10}, 0).delayUs, 30000);
    EXPECT_EQ(m->request(Bytes{0x11}, 0).delayUs, 900000);
    EXPECT_EQ(m->request(Bytes{0x12}, 0).kind, Kind::Silence);
    EXPECT_EQ(m->request(Bytes{0x13}, 0).delayUs, 5000);
    EXPECT_EQ(m->request(Bytes{0x13}, 0).kind, Kind::Silence);

    std::array<uint8_t, 40> config{};
    const ConnectResult c = m->connect(config, 0);
    EXPECT_TRUE(c.connected);
    EXPECT_EQ(c.answer, (Bytes{0xC1, 0xEF, 0x8F}));
    EXPECT_EQ(c.delayUs, 300000);
    EXPECT_FALSE(table(R"({"connect": {"refuse": true}})")->connect(config, 0).connected);
}

TEST(TableModel, MistakesAreReportedAtTheirPlace) {
    struct Case {
        const char* json;
        const char* place;
        const char* words;
    };
    const Case cases[] = {
        {R"({"rules": [{"request": "1A", "reply": "5G"}]})", "/config/rules/0/reply", "bad hex"},
        {R"({"rules": [{"reply": "50"}]})", "/config/rules/0", "without \"request\""},
        {R"({"rules": [{"request": "10", "reply": "50", "silence": true}]})", "/config/rules/0",
         "exactly one"},
        {R"({"rules": [{"request": "10", "replies": []}]})", "/config/rules/0/replies", "empty"},
        {R"({"rules": [{"request": "10", "replies": ["50"], "then": "loop"}]})",
         "/config/rules/0/then", "cycle"},
        {R"({"rules": [{"request": "10", "reply": "50 *"}]})", "/config/rules/0/reply", "requests"},
        {R"({"rules": [{"request": "10", "replies": ["50", {"reply": 5}]}]})",
         "/config/rules/0/replies/1/reply", "hex string"},
        {R"({"rulez": []})", "/config/rulez", "unknown key"},
        {R"({"rules": [{"request": "10 $0", "reply": "50"}]})", "/config/rules/0/request",
         "replies"},
        {R"({"delayMs": -1})", "/config/delayMs", "outside"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(table(c.json, &error), nullptr) << c.json;
        EXPECT_EQ(error.substr(0, error.find(": ")), c.place) << error;
        EXPECT_NE(error.find(c.words), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace corvan::sim
