// The Renault passenger airbag switch against the simulated airbag unit on the virtual clock:
// the status read on every pass, the switch requests, the status byte and its mask.
#include "plugins/renaultsrs/renault_srs.h"

#include <gtest/gtest.h>

#include "plugins/codingcommon/airbag_data.h"
#include "plugins/codingcommon/plugin_rig.h"
#include "sim/airbag_models.h"

namespace corvan::renaultsrs {
namespace {

using coding::testing::Bytes;
using coding::testing::hex;
using coding::testing::PluginRig;

const std::string kUnit = coding::testing::oneUnit("renault-airbag", R"({
    "status": "21 80", "statusReply": "61 80 00", "pos": 2, "bit": 2,
    "on": "3B 81 00", "off": "3B 81 01"})");

std::string item(const std::string& on, const std::string& off, const std::string& inf,
                 const std::string& pos, const std::string& bit) {
    return "<MNU\r\n\tTEXT=\t[\"Passenger airbag\"]\r\n\tON=\t[" + on + "]\r\n\tOFF=\t[" + off +
           "]\r\n\tINF=\t[" + inf + "]\r\n\tPOS=\t[" + pos + "]\r\n\tBIT=\t[" + bit + "]\r\n>\r\n";
}
const std::string kItem = item("3B8100", "3B8101", "2180", "2", "2");

std::string statusShown(const PluginRig& rig) {
    return rig.last("RENAULTSRS").control(kStatusId)->text;
}

// A unit answering the status request with `reply` and nothing else.
std::string statusUnit(const std::string& request, const std::string& reply) {
    return coding::testing::oneUnit(
        "table", R"({"rules": [{"request": ")" + request + R"(", "reply": ")" + reply + "\"}]}");
}

TEST(AirbagData, KeysOfTheItemAndTheHexadecimalRule) {
    const coding::AirbagData d =
        coding::readAirbagData("<MNU POS=[3] BIT=[-1] ON=[7a] INF=[218]>\r\n<MNU OFF=[11]>", 0);
    EXPECT_EQ(d.on, "7a");
    EXPECT_EQ(d.off, "");  // the next item's
    EXPECT_EQ(d.pos, 3);
    EXPECT_EQ(d.bit, -1);
    EXPECT_EQ(coding::airbagRequest(d.on), hex("80 02 20 00 70"));
    EXPECT_EQ(coding::airbagRequest(d.inf), hex("80 03 20 00 21 80"));
    EXPECT_TRUE(coding::airbagRequest("").empty());
    EXPECT_EQ(coding::statusMask(0), 0x01);
    EXPECT_EQ(coding::statusMask(7), 0x80);
    EXPECT_FALSE(coding::statusMask(8));
    EXPECT_FALSE(coding::statusMask(-1));
    const Bytes reply = hex("80 03 20 00 05 AA 8E");
    EXPECT_EQ(coding::statusByte(reply, 0), 0x05);
    EXPECT_EQ(coding::statusByte(reply, 1), 0xAA);
    EXPECT_EQ(coding::statusByte(reply, 9), 0x00);  // beyond the buffer
    EXPECT_EQ(coding::statusByte(reply, -4), 0x00);
    EXPECT_TRUE(coding::maskSet(0x05, 0x04));
    EXPECT_FALSE(coding::maskSet(0x05, 0x02));
}

TEST(RenaultSrs, SwitchOffThenTheNextReadShowsLocked) {
    PluginRig rig(kUnit);
    rig.script(
        "when text #1000 \"ON (UNLOCKED)\" press \"SRP OFF (LOCK)\"\n"
        "answer \"Acción realizada\" Ok\n"
        "when text #1000 \"OFF (LOCKED)\" press \"SRP ON (UNLOCK)\"\n"
        "answer \"Acción realizada\" Ok\n"
        "when text #1000 \"ON (UNLOCKED)\" close\n");
    EXPECT_EQ(rig.run(&runRenaultSrs, kItem, "EXE", 1), "");
    const std::vector<Bytes> messages = rig.ecuMessages();
    const Bytes status = hex("21 80"), off = hex("3B 81 01"), on = hex("3B 81 00");
    ASSERT_GE(messages.size(), 5u);
    // One status read on each pass; each switch is followed by a new read.
    EXPECT_EQ(messages[0], status);
    const auto offAt = std::find(messages.begin(), messages.end(), off);
    const auto onAt = std::find(messages.begin(), messages.end(), on);
    ASSERT_NE(offAt, messages.end());
    ASSERT_NE(onAt, messages.end());
    EXPECT_LT(offAt, onAt);
    EXPECT_EQ(*(offAt + 1), status);
    EXPECT_EQ(*(onAt + 1), status);
    EXPECT_EQ(rig.count(off) + rig.count(on), 2u);
    EXPECT_EQ(rig.unit<sim::RenaultAirbag>().switches(), 2);
    EXPECT_FALSE(rig.unit<sim::RenaultAirbag>().passengerLocked());
    EXPECT_EQ(rig.boxTexts(), (std::vector<std::string>(
                                  2, "Acción realizada. Verifique el nuevo estado del airbag")));
    const ui::DialogSnapshot& dialog = rig.last("RENAULTSRS");
    EXPECT_EQ(dialog.title, "ACTIVACION/DESACTIVACION SRS");
    EXPECT_EQ(dialog.control(kStatusId)->text, "SRP STATUS == ON (UNLOCKED)");
    EXPECT_TRUE(rig.screen.report().clean()) << rig.screen.report().text();
}

TEST(RenaultSrs, StatusByteAtFourPlusPosTestedWithTheMask) {
    struct Case {
        std::string inf, request, reply, pos, bit, shown;
    };
    const std::string locked = "SRP STATUS == AUS (VERRIEGELT)";
    const std::string unlocked = "SRP STATUS == EIN (ENTRIEGELT)";
    for (const Case& c : {
             Case{"2180", "21 80", "01", "0", "0", locked},  // BIT=0 with status 0x01
             Case{"2180", "21 80", "FE", "0", "0", unlocked},
             Case{"2180", "21 80", "00 80", "1", "7", locked},
             Case{"2180", "21 80", "80 7F", "1", "7", unlocked},
             Case{"7a", "70", "01", "0", "0", locked},                          // "7a" asks 0x70
             Case{"2180", "21 80", "01", "0", "8", "SRP STATUS == UNBEKANNT"},  // no such bit
         }) {
        PluginRig rig(statusUnit(c.request, c.reply));
        rig.script("close\n");
        rig.run(&runRenaultSrs, item("3B8100", "3B8101", c.inf, c.pos, c.bit), "EXE", kGerman);
        EXPECT_EQ(statusShown(rig), c.shown) << c.inf << " " << c.reply << " " << c.bit;
        EXPECT_TRUE(rig.screen.messageBoxes().empty());
    }
}

TEST(RenaultSrs, WithoutStatusRequestTheStatusIsUnknownAndNothingIsRead) {
    PluginRig rig(kUnit);
    rig.script("press \"SRP OFF (LOCK)\"\nanswer \"\" Ok\nclose\n");
    rig.run(&runRenaultSrs, item("3B8100", "3B81", "", "2", "2"));
    EXPECT_EQ(statusShown(rig), "SRP STATUS == UNKNOWN");
    EXPECT_EQ(rig.ecuMessages(), (std::vector<Bytes>{hex("3B 81")}));
}

TEST(RenaultSrs, ASilentUnitAsksInSpanishAndKeepsTheLastStatus) {
    PluginRig rig(coding::testing::oneUnit("table", R"({"rules": [
        {"request": "21 80", "replies": ["61 80 04", "silence"]}]})"));
    rig.script("answer \"REINTENTAR\" No\nclose\n");
    rig.run(&runRenaultSrs, kItem, "EXE", kEnglish);
    ASSERT_FALSE(rig.screen.messageBoxes().empty());
    EXPECT_EQ(rig.screen.messageBoxes()[0].text, "No hay respuesta del terminal \n¿REINTENTAR?");
    EXPECT_EQ(rig.screen.messageBoxes()[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(statusShown(rig), "SRP STATUS == OFF (LOCKED)");
}

TEST(RenaultSrs, DemonstrationConfirmsSwitchesAndSendsNothing) {
    PluginRig rig(kUnit);
    rig.script("press \"SRP ON (UNLOCK)\"\npress \"SRP OFF (LOCK)\"\nclose\n");
    rig.run(&runRenaultSrs, kItem, "DEMO");
    EXPECT_EQ(statusShown(rig), "SRP STATUS == DEMO MODE");
    EXPECT_EQ(rig.boxTexts().size(), 2u);
    EXPECT_TRUE(rig.port->written().empty());
    // Without a switch request in the data only demonstration offers the button.
    PluginRig noSwitch(kUnit);
    noSwitch.script("dump\nclose\n");
    noSwitch.run(&runRenaultSrs, item("", "3B8101", "2180", "2", "2"));
    EXPECT_FALSE(noSwitch.screen.snapshots().front().control(kOnId)->enabled);
    EXPECT_TRUE(noSwitch.screen.snapshots().front().control(kOffId)->enabled);
}

}  // namespace
}  // namespace corvan::renaultsrs
