// The immobilizer and airbag models on their own: what each answers in which state, how it
// reads its config, and what it hands to its "others" table.
#include <gtest/gtest.h>

#include "sim/airbag_models.h"
#include "sim/hex_pattern.h"
#include "sim/immobilizer_models.h"

namespace corvan::sim {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes hex(std::string_view text) {
    return parseHexBytes(text, nullptr).value_or(Bytes{});
}

template <class Model>
std::unique_ptr<Model> make(const char* json, std::string* error = nullptr) {
    const nlohmann::json j = nlohmann::json::parse(json);
    Problem p;
    auto m = Model::fromJson(JsonNode(j, "/config", p));
    if (error) *error = p.place + ": " + p.message;
    if (!m && !error) ADD_FAILURE() << p.place << ": " << p.message;
    return m;
}

template <class Model>
Bytes ask(Model& m, std::string_view message) {
    const EcuReply r = m.request(hex(message), 0);
    return r.kind == EcuReply::Kind::Answer ? r.bytes : Bytes{0xEE};  // EE: no answer
}

TEST(UnitModels, ConfigMistakesNameTheirPlace) {
    std::string error;
    EXPECT_FALSE(make<RenaultImmobilizer>(R"({"pin": "12"})", &error));
    EXPECT_EQ(error, "/config/pin: expected 2 to 2 bytes");
    EXPECT_FALSE(make<OpelCanImmobilizer>(R"({"pin": "12345"})", &error));
    EXPECT_EQ(error, "/config/pin: expected four characters");
    EXPECT_FALSE(make<OpelCanImmobilizer>(R"({"pin": "1234", "keys": 6})", &error));
    EXPECT_EQ(error, "/config/keys: more keys than maxKeys");
    EXPECT_FALSE(make<NissanImmobilizer>(R"({"start": "31 50"})", &error));
    EXPECT_EQ(error, "/config: missing \"status\"");
    EXPECT_FALSE(make<RenaultAirbag>(
        R"({"status": "21", "statusReply": "61", "pos": 1, "on": "30", "off": "31"})", &error));
    EXPECT_EQ(error, "/config/pos: beyond the status reply");
    EXPECT_FALSE(make<PsaAirbag>(R"({"status": "21", "statusReply": "61 00", "pos": 1,
        "configPos": 1})",
                                 &error));
    EXPECT_EQ(error, "/config/configPos: the status byte's place");
    EXPECT_FALSE(make<PsaAirbag>(R"({"status": "21", "statusReply": "61", "bit": 8})", &error));
    EXPECT_EQ(error, "/config/bit: number 8 outside 0..7");
    EXPECT_FALSE(make<RenaultImmobilizer>(R"({"pin": "1234", "others": {"rulez": []}})", &error));
    EXPECT_EQ(error, "/config/others/rulez: unknown key \"rulez\"");
}

TEST(UnitModels, RenaultLearningOpensOnlyWithThePinAndClosesOnce) {
    auto m = make<RenaultImmobilizer>(R"({"pin": "0F1E"})");
    EXPECT_EQ(ask(*m, "84 26 F1 3B D2 01 00"), hex("83 F1 26 7F 3B 22"));  // nothing open
    EXPECT_EQ(ask(*m, "85 26 F1 31 C5 00 0F 1F"), hex("83 F1 26 7F 31 35"));
    EXPECT_FALSE(m->learning());
    EXPECT_EQ(ask(*m, "85 26 F1 31 C5 00 0F 1E"), hex("82 F1 26 71 C5"));
    EXPECT_TRUE(m->learning());
    EXPECT_EQ(ask(*m, "84 26 F1 3B D2 01 00"), hex("82 F1 26 7B D2"));
    EXPECT_EQ(ask(*m, "84 26 F1 3B D2 01 00"), hex("83 F1 26 7F 3B 22"));
    EXPECT_EQ(m->sessions(), 1);
    // A header whose length does not fit is no message of this unit.
    EXPECT_EQ(ask(*m, "86 26 F1 31 C5 00 0F 1E"), Bytes{0xEE});
}

TEST(UnitModels, NissanStatusRunsToDoneAndTheClosingCountsTheKey) {
    auto m = make<NissanImmobilizer>(R"({"start": "31 50", "status": "21", "pollsToEnd": 2})");
    EXPECT_EQ(ask(*m, "21"), hex("61 00 00"));  // idle
    EXPECT_EQ(ask(*m, "31 50"), hex("01 71 50"));
    EXPECT_EQ(ask(*m, "21"), hex("61 00 01"));
    EXPECT_EQ(ask(*m, "21"), hex("61 00 02"));
    EXPECT_EQ(ask(*m, "21"), hex("61 00 02"));
    EXPECT_EQ(ask(*m, "30"), hex("70"));
    EXPECT_EQ(m->keys(), 1);
    // Closed before done: no key.
    ask(*m, "31 50");
    ask(*m, "30");
    EXPECT_EQ(m->keys(), 1);
    EXPECT_EQ(m->closings(), 2);
}

TEST(UnitModels, OpelChangesNeedThePinAndStoppedPeriodicDataEachTime) {
    auto m = make<OpelCanImmobilizer>(
        R"({"pin": "1975", "keys": 2, "maxKeys": 3, "learnFaults": "AF"})");
    const char* pin = "02 45 06 3B 60 31 39 37 35";
    const char* stop = "02 45 02 AA 00";
    const char* learn = "02 45 02 3B 69";
    EXPECT_EQ(ask(*m, learn), hex("06 45 03 7F 3B 33"));  // locked
    EXPECT_EQ(ask(*m, pin), hex("06 45 02 7B 60"));
    EXPECT_EQ(ask(*m, learn), hex("06 45 03 7F 3B 22"));  // periodic data still running
    EXPECT_EQ(ask(*m, learn), hex("06 45 03 7F 3B 33"));  // the PIN was used up
    ask(*m, pin);
    EXPECT_EQ(m->request(hex(stop), 0).kind, EcuReply::Kind::NoAnswer);
    EXPECT_EQ(ask(*m, learn), hex("06 45 03 7F 3B AF"));  // the configured refusal
    for (int k = 0; k < 2; ++k) {
        ask(*m, pin);
        ask(*m, stop);
        ask(*m, learn);
    }
    EXPECT_EQ(m->keys(), 3);
    EXPECT_EQ(ask(*m, "02 45 02 1A 70"), hex("06 45 03 5A 70 03"));
    ask(*m, pin);
    ask(*m, stop);
    EXPECT_EQ(ask(*m, learn), hex("06 45 03 7F 3B 22"));  // full
    ask(*m, pin);
    ask(*m, stop);
    EXPECT_EQ(ask(*m, "02 45 02 3B 68"), hex("06 45 02 7B 68"));
    EXPECT_EQ(m->keys(), 0);
    EXPECT_EQ(ask(*m, "02 45 06 3B 60 31 39 37 36"), hex("06 45 03 7F 3B 35"));
    // Another identifier, or a length that does not fit, is not for this unit.
    EXPECT_EQ(ask(*m, "07 E0 06 3B 60 31 39 37 35"), Bytes{0xEE});
    EXPECT_EQ(ask(*m, "02 45 05 3B 60 31 39 37 35"), Bytes{0xEE});
}

TEST(UnitModels, AirbagBitsFollowTheSwitchAndTheCodingIsKeptOnce) {
    auto r = make<RenaultAirbag>(R"({"status": "21 80", "statusReply": "61 80 F0", "pos": 2,
        "bit": 1, "on": "3B 81 00", "off": "3B 81 01", "locked": true})");
    EXPECT_EQ(ask(*r, "21 80"), hex("61 80 F2"));
    EXPECT_EQ(ask(*r, "3B 81 00"), hex("7B 81"));
    EXPECT_EQ(ask(*r, "21 80"), hex("61 80 F0"));
    ask(*r, "3B 81 01");
    EXPECT_TRUE(r->passengerLocked());

    auto p = make<PsaAirbag>(R"({"status": "21 A0", "statusReply": "61 A0 FE 00", "pos": 2,
        "bit": 0, "configPos": 3})");
    EXPECT_EQ(ask(*p, "21 A0"), hex("61 A0 FE 00"));
    EXPECT_EQ(ask(*p, "84 BB A4 06 00"), hex("C4 06"));
    EXPECT_EQ(ask(*p, "84 BB A4 01"), hex("7F 84 22"));  // coded once
    EXPECT_EQ(ask(*p, "21 A0"), hex("61 A0 FF 06"));
    EXPECT_EQ(p->codingRequests(), 2);
    EXPECT_EQ(p->lastCoding(), hex("84 BB A4 01"));
    EXPECT_EQ(ask(*p, "84 BB A4"), Bytes{0xEE});  // no configuration byte
}

TEST(UnitModels, OthersTableAnswersTheRestAndTheConnection) {
    auto m = make<PsaAirbag>(R"({"status": "21 A0", "statusReply": "61 A0 00", "delayMs": 25,
        "others": {"connect": {"reply": "C1 D0 8F"}, "rules": [{"request": "1A 80", "reply": "5A 80 01"}]}})");
    EXPECT_EQ(ask(*m, "1A 80"), hex("5A 80 01"));
    EXPECT_EQ(m->request(hex("21 A0"), 0).delayUs, 25000);
    const std::array<uint8_t, 40> config{};
    EXPECT_EQ(m->connect(config, 0).answer, hex("C1 D0 8F"));
    auto bare = make<NissanImmobilizer>(R"({"start": "31", "status": "21"})");
    EXPECT_EQ(bare->request(hex("1A 80"), 0).kind, EcuReply::Kind::NoAnswer);
    EXPECT_TRUE(bare->connect(config, 0).connected);
}

}  // namespace
}  // namespace corvan::sim
