// The Nissan key coding and pairing against the simulated immobilizer on the virtual clock:
// the requests of the data, the status polls with the bar, the closing message and the
// technician's messages.
#include "plugins/nissankeys/nissan_keys.h"

#include <gtest/gtest.h>

#include "plugins/codingcommon/plugin_rig.h"
#include "plugins/nissankeys/nissan_key_requests.h"
#include "sim/immobilizer_models.h"

namespace corvan::nissankeys {
namespace {

using coding::testing::Bytes;
using coding::testing::hex;
using coding::testing::PluginRig;

const std::string kItem =
    "<MNU\r\n\tTEXT=\t[\"Keys\"]\r\n\tCODEKEY=\t[3150]\r\n\tINFKEY=\t[2151]\r\n>\r\n";
const std::string kPress = "press \"KEY CODIFYING AND PAIRING PROCEDURE\"\n";
const std::string kProgrammedStart =
    "Key programmed OK. To codify next keys follow these steps:\n\r\n\r"
    "   1. Turn ignition off, pull key out and wait for at least 5 seconds\n\r"
    "   2. Enter next key and turn on ignition for at least 5 seconds (without starting "
    "engine)\n\r   3. Repeat steps 1&2";

std::string immobilizer(int pollsToEnd, const std::string& more = "") {
    return coding::testing::oneUnit("nissan-immobilizer",
                                    R"({"start": "31 50", "status": "21 51", "pollsToEnd": )" +
                                        std::to_string(pollsToEnd) + more + "}");
}

TEST(NissanKeyRequests, DataRequestsReadTwoCharactersPerByteWithinTheItem) {
    const NissanRequests r = readRequests(
        "<MNU\r\n\tCODEKEY=\t[3a5]\r\n\tINFKEY=\t[21512]\r\n>\r\n<MNU INFKEY=[99]>", 0);
    EXPECT_EQ(r.start, hex("80 03 20 00 30 50"));
    EXPECT_EQ(r.status, hex("80 04 20 00 21 51 20"));
    EXPECT_EQ(r.closing, hex("80 02 20 00 30"));
    EXPECT_TRUE(r.usable());
    // A key of the next item is not this item's; 99 bytes at most.
    const NissanRequests other = readRequests("<MNU CODEKEY=[31]>\r\n<MNU INFKEY=[21]>", 0);
    EXPECT_TRUE(other.status.empty());
    EXPECT_FALSE(other.usable());
    const NissanRequests longOne = readRequests("CODEKEY=[" + std::string(300, '1') + "]", 0);
    EXPECT_EQ(longOne.start.size(), 4u + 99u);
    EXPECT_EQ(longOne.start[1], 100);
    EXPECT_TRUE(codingStarted(hex("80 02 20 00 01")));
    EXPECT_FALSE(codingStarted(hex("80 02 20 00 02")));
    EXPECT_TRUE(codingDone(hex("80 04 20 00 61 51 02")));
    EXPECT_EQ(pollProgress(0), 0);
    EXPECT_EQ(pollProgress(199), 99);
}

TEST(NissanKeys, StatusPolledUntilCodedThenClosedAndInstructed) {
    PluginRig rig(immobilizer(3));
    rig.script(kPress);
    EXPECT_EQ(rig.run(&runNissanKeys, kItem, "EXE", 1, "MICRA K12"), "");
    EXPECT_EQ(rig.ecuMessages(), (std::vector<Bytes>{hex("31 50"), hex("21 51"), hex("21 51"),
                                                     hex("21 51"), hex("30")}));
    ASSERT_EQ(rig.boxTexts().size(), 1u);
    EXPECT_TRUE(rig.boxTexts()[0].starts_with(kProgrammedStart)) << rig.boxTexts()[0];
    EXPECT_GT(rig.boxTexts()[0].size(), kProgrammedStart.size());
    EXPECT_EQ(rig.unit<sim::NissanImmobilizer>().keys(), 1);
    const ui::DialogSnapshot& window = rig.last("NISSANKEYS_WAIT");
    EXPECT_EQ(window.title, "KEY CODIFYING: MICRA K12");
    EXPECT_EQ(window.control(kTryingId)->text, "Trying to codify");
    EXPECT_EQ(window.control(kWaitId)->text, "Please, wait...");
    EXPECT_EQ(window.control(kBarId)->value, 1);  // the third poll: two polls done, halved
    EXPECT_EQ(rig.last("NISSANKEYS").title, "KEY CODIFYING: MICRA K12");
    EXPECT_TRUE(rig.screen.report().clean()) << rig.screen.report().text();
}

TEST(NissanKeys, StatusOnTheTwoHundredthPollComesTooLate) {
    for (const int pollsToEnd : {199, 200}) {
        PluginRig rig(immobilizer(pollsToEnd));
        rig.script(kPress);
        rig.run(&runNissanKeys, kItem);
        const auto& polls = rig.unit<sim::NissanImmobilizer>();
        EXPECT_EQ(polls.polls(), pollsToEnd);
        EXPECT_EQ(polls.closings(), 1);
        EXPECT_EQ(rig.count(hex("30")), 1u);
        ASSERT_EQ(rig.boxTexts().size(), 1u);
        if (pollsToEnd == 199) {
            EXPECT_TRUE(rig.boxTexts()[0].starts_with("Key programmed OK."));
        } else {
            EXPECT_EQ(rig.boxTexts()[0], "ATTENTION: can´t codify key");
            EXPECT_EQ(rig.last("NISSANKEYS_WAIT").control(kBarId)->value, 99);
        }
    }
}

TEST(NissanKeys, RefusedStartShowsTheFaultCodeHintAndPollsNothing) {
    PluginRig rig(immobilizer(3, R"(, "refuseStart": true)"));
    rig.script("press #1001\n");
    rig.run(&runNissanKeys, kItem, "EXE", kPortuguese);
    EXPECT_EQ(rig.boxTexts(), (std::vector<std::string>{
                                  "ATENÇÃO: não é possível iniciar o procedimento de codificação. "
                                  "Verifique os códigos de avaria"}));
    EXPECT_EQ(rig.ecuMessages(), (std::vector<Bytes>{hex("31 50")}));
    EXPECT_EQ(rig.screen.lastSnapshot("NISSANKEYS_WAIT"), nullptr);
}

TEST(NissanKeys, DemonstrationOrMissingRequestLeaveTheButtonDisabled) {
    const std::string noStatus = "<MNU\r\n\tCODEKEY=\t[3150]\r\n>\r\n";
    for (const auto& [text, mode] : {std::pair{kItem, "DEMO"}, std::pair{noStatus, "EXE"}}) {
        PluginRig rig(immobilizer(3));
        // The press waits for a button that never enables, and is given up.
        rig.script(kPress + "close\n", {.abandonAfter = 50});
        EXPECT_EQ(rig.run(&runNissanKeys, text, mode), "");
        EXPECT_FALSE(rig.last("NISSANKEYS").control(kCodeId)->enabled) << mode;
        EXPECT_TRUE(rig.port->written().empty()) << mode;
    }
}

}  // namespace
}  // namespace corvan::nissankeys
