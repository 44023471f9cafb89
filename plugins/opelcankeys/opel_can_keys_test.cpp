// The Opel key coding on CAN against the simulated immobilizer on the virtual clock: the PIN
// before every operation, the erase and its question, the keys taught one by one, and what
// the technician reads for each answer of the immobilizer.
#include "plugins/opelcankeys/opel_can_keys.h"

#include <gtest/gtest.h>

#include "plugins/codingcommon/plugin_rig.h"
#include "plugins/opelcankeys/opel_key_requests.h"
#include "sim/immobilizer_models.h"

namespace corvan::opelcankeys {
namespace {

using coding::testing::Bytes;
using coding::testing::hex;
using coding::testing::PluginRig;
using Boxes = std::vector<std::string>;

const Bytes kPin = hex("02 45 06 3B 60 31 39 37 35");  // "1975" as typed
const Bytes kStop = hex("02 45 02 AA 00");
const Bytes kErase = hex("02 45 02 3B 68");
const Bytes kLearn = hex("02 45 02 3B 69");
const std::string kInsert = "Insert key to codify and turn ignition on (without starting engine)";

std::string immobilizer(const std::string& more = "") {
    return coding::testing::oneUnit("opel-can-immobilizer",
                                    R"({"pin": "1975", "keys": 1)" + more + "}");
}

std::string entry(const std::string& pin, const std::string& keys) {
    return "type \"" + keys + "\" into #1001\ntype \"" + pin + "\" into #1003\n";
}

TEST(OpelKeyRequests, RequestsAndHowRepliesRead) {
    EXPECT_EQ(pinEntryRequest("1975"), hex("80 0A 20 00 02 45 06 3B 60 31 39 37 35"));
    EXPECT_EQ(pinEntryRequest("a€"), hex("80 0A 20 00 02 45 06 3B 60 61 80 00 00"));
    EXPECT_EQ(stopPeriodicRequest(), hex("80 06 20 00 02 45 02 AA 00"));
    EXPECT_EQ(eraseKeysRequest(), hex("80 06 20 00 02 45 02 3B 68"));
    EXPECT_EQ(learnKeyRequest(), hex("80 06 20 00 02 45 02 3B 69"));
    const Bytes positive = hex("80 06 20 00 06 45 02 7B 69 00");
    EXPECT_TRUE(accepted(positive, int(positive.size())));
    EXPECT_FALSE(accepted(positive, 8));  // byte 7 is then the check byte
    EXPECT_EQ(learnOutcome(positive, int(positive.size())), LearnOutcome::Codified);
    const auto refusal = [](uint8_t why) {
        Bytes r = hex("80 07 20 00 06 45 03 7F 3B 00 00");
        r[9] = why;
        return learnOutcome(r, int(r.size()));
    };
    EXPECT_EQ(refusal(0x31), LearnOutcome::NoTransponder);
    EXPECT_EQ(refusal(0xAF), LearnOutcome::AlreadyProgrammed);
    EXPECT_EQ(refusal(0x22), LearnOutcome::Refused);
    // The box's "no ECU answer", whatever an earlier reply left behind it.
    EXPECT_EQ(learnOutcome(positive, 4), LearnOutcome::Refused);
}

TEST(OpelCanKeys, ThreeKeysSendThePinFourTimesAndRaiseTheKeyCount) {
    PluginRig rig(immobilizer());
    rig.script(entry("1975", "3") + "press \"Codify Key\"\n");
    EXPECT_EQ(rig.run(&runOpelCanKeys, "", "EXE", 1, "ASTRA H"), "");
    const std::vector<Bytes> perKey = {kPin, kStop, kLearn};
    std::vector<Bytes> expected = {kPin};
    for (int k = 0; k < 3; ++k) expected.insert(expected.end(), perKey.begin(), perKey.end());
    EXPECT_EQ(rig.ecuMessages(), expected);
    EXPECT_EQ(rig.count(kPin), 4u);
    EXPECT_EQ(rig.unit<sim::OpelCanImmobilizer>().keys(), 4);
    EXPECT_EQ(rig.boxTexts(),
              (Boxes{kInsert, "Key codified", kInsert, "Key codified", kInsert, "Key codified"}));
    // Each key: its box first, the PIN, 300 ms, the stop, 700 ms, the learn.
    ASSERT_EQ(rig.sent.size(), 10u);
    EXPECT_EQ(rig.sent[1].boxesBefore, 1u);
    EXPECT_GE(rig.sent[2].atUs - rig.sent[1].atUs, 300000);
    EXPECT_GE(rig.sent[3].atUs - rig.sent[2].atUs, 700000);
    EXPECT_EQ(rig.last("OPELCANKEYS_WAIT").title, "Codifying key");
    EXPECT_EQ(rig.last("OPELCANKEYS_WAIT").control(kWaitId)->text, "Please, wait...");
    EXPECT_EQ(rig.last("OPELCANKEYS").title, "KEY CODIFYING: ASTRA H");
    EXPECT_EQ(rig.dump().find("1975"), std::string::npos) << rig.dump();
    EXPECT_TRUE(rig.screen.report().clean()) << rig.screen.report().text();
}

TEST(OpelCanKeys, EraseAnsweredNoSendsOnlyThePinAndYesErasesWithTheDialogLeftOpen) {
    PluginRig rig(immobilizer(R"(, "keys": 2)"));
    rig.script(entry("1975", "1") +
               "press \"Erase all keys\"\n"
               "answer \"Are you sure?\" No\n"
               "press \"Erase all keys\"\n"
               "answer \"Are you sure?\" Yes\n"
               "press \"Codify Key\"\n");
    rig.run(&runOpelCanKeys, "");
    EXPECT_EQ(rig.ecuMessages(),
              (std::vector<Bytes>{kPin, kPin, kStop, kErase, kPin, kPin, kStop, kLearn}));
    // The erase question came before the stop and the erase; the erase a second after.
    EXPECT_EQ(rig.boxesBefore(kStop), 2);
    EXPECT_GE(rig.firstSent(kErase)->atUs - rig.firstSent(kStop)->atUs, 1000000);
    EXPECT_EQ(rig.boxTexts(),
              (Boxes{"ATTENTIÓN: all keys will be erased. Are you sure?",
                     "ATTENTIÓN: all keys will be erased. Are you sure?",
                     "Keys erased.\nYou must codify at least one key", kInsert, "Key codified"}));
    EXPECT_EQ(rig.screen.messageBoxes()[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(rig.unit<sim::OpelCanImmobilizer>().keys(), 1);
    EXPECT_TRUE(rig.screen.report().clean()) << rig.screen.report().text();
}

TEST(OpelCanKeys, EachRefusalReasonHasItsTextAndASilentLearnTeachesNothing) {
    PluginRig rig(immobilizer(R"(, "learnFaults": "31 AF 22")"));
    rig.script(entry("1975", "4") + "press \"Codify Key\"\n");
    rig.run(&runOpelCanKeys, "");
    EXPECT_EQ(
        rig.boxTexts(),
        (Boxes{kInsert, "KEY CODIFYING ERROR: no key detected or can´t read transponder´s key",
               kInsert, "KEY CODIFYING ERROR: key already programmed", kInsert,
               "KEY CODIFYING ERROR: can´t codify the key. Read the trouble codes memory", kInsert,
               "Key codified"}));
    EXPECT_EQ(rig.unit<sim::OpelCanImmobilizer>().keys(), 2);

    // An immobilizer that takes the PIN but never answers the learn: the positive answer to
    // the PIN must not pass for a key codified.
    PluginRig silent(coding::testing::oneUnit("table", R"({"rules": [
        {"request": "02 45 06 3B 60 *", "reply": "06 45 02 7B 60"}]})"));
    silent.script(entry("1975", "1") + "press \"Codify Key\"\n");
    silent.run(&runOpelCanKeys, "");
    EXPECT_EQ(silent.boxTexts(),
              (Boxes{kInsert,
                     "KEY CODIFYING ERROR: can´t codify the key. Read the trouble codes memory"}));
}

TEST(OpelCanKeys, RefusedPinOrEraseEndsTheModule) {
    PluginRig wrongPin(immobilizer());
    wrongPin.script(entry("1976", "1") + "press \"Erase all keys\"\n");
    wrongPin.run(&runOpelCanKeys, "");
    EXPECT_EQ(
        wrongPin.boxTexts(),
        (Boxes{"ATTENTIÓN: invalid code.\n\rTurn ignition off before you enter again PIN code"}));
    EXPECT_EQ(wrongPin.ecuMessages(), (std::vector<Bytes>{hex("02 45 06 3B 60 31 39 37 36")}));
    // Ended by the module, not closed by the backend after the script ran out.
    EXPECT_TRUE(wrongPin.screen.report().forcedCloses.empty());

    PluginRig noErase(coding::testing::oneUnit("table", R"({"rules": [
        {"request": "02 45 06 3B 60 *", "reply": "06 45 02 7B 60"},
        {"request": "02 45 02 3B 68", "reply": "06 45 03 7F 3B 22"}]})"));
    noErase.script(entry("1975", "1") + "press #1004\nanswer \"\" Yes\n");
    noErase.run(&runOpelCanKeys, "", "EXE", kGerman);
    EXPECT_EQ(noErase.boxTexts(),
              (Boxes{"ACHTUNG: alle Schlüssel werden gelöscht. Sind Sie sicher?",
                     "ACHTUNG: Schlüssel können nicht gelöscht werden"}));
    EXPECT_TRUE(noErase.screen.report().forcedCloses.empty());
}

TEST(OpelCanKeys, ButtonsWaitForFourCharactersAndOneToFourKeys) {
    for (const auto& [pin, keys] : {std::pair{"19755", "1"}, std::pair{"197", "1"},
                                    std::pair{"1975", "0"}, std::pair{"1975", "5"}}) {
        PluginRig rig(immobilizer());
        rig.script(entry(pin, keys) + "dump\nclose\n");
        rig.run(&runOpelCanKeys, "");
        const ui::DialogSnapshot& typed = rig.screen.snapshots().front();
        EXPECT_FALSE(typed.control(kEraseId)->enabled) << pin << " " << keys;
        EXPECT_FALSE(typed.control(kCodeId)->enabled) << pin << " " << keys;
        EXPECT_TRUE(rig.port->written().empty());
    }
}

TEST(OpelCanKeys, DemonstrationRefusesAndSendsNothing) {
    PluginRig rig(immobilizer());
    rig.script(entry("1975", "1") + "press \"Codify Key\"\n");
    rig.run(&runOpelCanKeys, "", "DEMO");
    EXPECT_EQ(rig.boxTexts(), (Boxes{"Not available in DEMO mode"}));
    EXPECT_TRUE(rig.port->written().empty());
}

}  // namespace
}  // namespace corvan::opelcankeys
