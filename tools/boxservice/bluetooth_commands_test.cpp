// Reading the Bluetooth module's configuration and pairing it with a box, against the
// simulated module on the virtual clock, with a technician script on the headless screen.
#include <gtest/gtest.h>

#include "runtime/frame.h"
#include "tools/boxservice/boxservice_test_rig.h"
#include "tools/boxservice/service_texts.h"

namespace corvan::boxservice {
namespace {

using testing::kUnlinked;
using testing::Rig;
using testing::scenario;

constexpr int kReadConfiguration = 3, kPairing = 4, kPerformance = 0;

// The AT commands in the order they went out ("AT+ZM3\r" -> "ZM3").
std::vector<std::string> commandsOf(const Rig& rig) {
    return rig.line->module().commands();
}

std::string unlinkedWith(std::string_view more = "") {
    std::string members(kUnlinked);
    if (!more.empty()) members += ", " + std::string(more);
    return scenario("", members);
}

// The script of a technician who picks the box and types `pin`.
std::string pairingScript(std::string_view pin) {
    return "answer \"ATENCION\" Ok\n"
           "when title \"Emparejamiento Bluetooth\" tap \"VARBOX 0412\" in #100\n"
           "press \"OK\"\n"
           "type \"" +
           std::string(pin) +
           "\" into #11\n"
           "press \"OK\"\n"
           "answer \"Emparejamiento efectuado\" Ok\n";
}

TEST(BluetoothConfiguration, ShowsTheModulesAnswerOrWhyNothingCame) {
    Rig rig(unlinkedWith());
    rig.run(kReadConfiguration);
    ASSERT_EQ(rig.boxTexts().size(), 1u);
    EXPECT_EQ(rig.boxTexts()[0],
              "\r\nBT SERIAL 2.4\r\nADDR=00A0961E0F01\r\nMODE=2\r\nREMOTE=NONE\r\nOK\r\n");
    EXPECT_EQ(rig.wireText(), "AT+ZV");

    // Linked to the box, the module passes the command on and nothing answers it.
    Rig linked;
    linked.run(kReadConfiguration);
    EXPECT_EQ(linked.boxTexts(), std::vector<std::string>{std::string(text::kNoModuleAnswer)});
    EXPECT_FALSE(linked.line->isOpen());
}

TEST(BluetoothPairing, PairsWithTheChosenDeviceAndTheLinkComesUp) {
    Rig rig(unlinkedWith());
    rig.script(pairingScript(""));
    rig.run(kPairing);
    EXPECT_TRUE(rig.screen.report().clean()) << rig.screen.report().text();
    EXPECT_EQ(rig.boxTexts(), (std::vector<std::string>{std::string(text::kPairingWarning),
                                                        std::string(text::kPaired)}));
    const auto sent = commandsOf(rig);
    ASSERT_GE(sent.size(), 9u);
    EXPECT_EQ(sent[0], "ZM3");
    EXPECT_EQ(sent[1], "ZX");
    // Mode 3 is asked for until the restarted module answers it.
    size_t i = 2;
    while (i < sent.size() && sent[i] == "ZM3") ++i;
    EXPECT_GT(i, 2u);
    EXPECT_EQ(std::vector<std::string>(sent.begin() + long(i), sent.end()),
              (std::vector<std::string>{"ZI15,L", "ZU", "ZM2", "ZA0012F3A1B2C4", "ZE", "ZX"}));
    // A blank PIN still sends "AT+ZE" and its carriage return.
    EXPECT_NE(rig.wireText().find("AT+ZA0012F3A1B2C4\rAT+ZE\rAT+ZX"), std::string::npos)
        << rig.wireText();
    EXPECT_EQ(rig.line->module().remote(), "0012F3A1B2C4");

    // "After 5 seconds they link": the box answers through the module from then on.
    rig.clock.sleepMs(8000);
    rig.script("after 3 pumps press \"Cancel\"\n");
    rig.run(kPerformance);
    EXPECT_TRUE(rig.line->module().linked());
    EXPECT_FALSE(rig.framesWith(0x0F).empty());
}

TEST(BluetoothPairing, TheTypedPinGoesToTheModule) {
    Rig rig(scenario("", R"("linked": false, "remote": "",
        "devices": [{"address": "0012F3A1B2C4", "name": "VARBOX 0412", "pin": "4711"}])"));
    rig.script(pairingScript("4711"));
    rig.run(kPairing);
    EXPECT_NE(rig.wireText().find("AT+ZE4711\r"), std::string::npos);
    EXPECT_EQ(rig.line->module().pin(), "4711");
    rig.clock.sleepMs(8000);
    rig.run(kPerformance);
    EXPECT_TRUE(rig.line->module().linked());
}

TEST(BluetoothPairing, NoDeviceInRangeEndsTheSearch) {
    Rig rig(scenario("", R"("linked": false, "remote": "", "devices": [])"));
    rig.script("answer \"ATENCION\" Ok\n");
    rig.run(kPairing);
    EXPECT_EQ(rig.boxTexts().back(), text::kNoDevice);
    EXPECT_EQ(commandsOf(rig).back(), "ZI15,L");
    EXPECT_EQ(rig.screen.lastSnapshot("DISPOSITIVOS"), nullptr);
}

TEST(BluetoothPairing, AStopOfTheSearchWithoutOkOnlyWarns) {
    Rig rig(unlinkedWith(R"("refuse": ["ZU"])"));
    rig.script(pairingScript(""));
    rig.run(kPairing);
    EXPECT_EQ(rig.boxTexts(), (std::vector<std::string>{std::string(text::kPairingWarning),
                                                        std::string(text::kCannotStopSearch),
                                                        std::string(text::kPaired)}));
    EXPECT_EQ(commandsOf(rig).back(), "ZX");
}

TEST(BluetoothPairing, NoReturnToMode2StopsThePairing) {
    Rig rig(unlinkedWith(R"("refuse": ["ZM2"])"));
    rig.script(pairingScript(""));
    rig.run(kPairing);
    EXPECT_EQ(rig.boxTexts().back(), text::kNoMode2);
    EXPECT_EQ(commandsOf(rig).back(), "ZM2");
    EXPECT_EQ(rig.wireText().find("AT+ZA"), std::string::npos);
    EXPECT_EQ(rig.screen.lastSnapshot("PIN"), nullptr);
}

TEST(BluetoothPairing, AnAddressTheModuleRefusesIsAPairingError) {
    Rig rig(unlinkedWith(R"("refuse": ["ZA"])"));
    rig.script(pairingScript(""));
    rig.run(kPairing);
    EXPECT_EQ(rig.boxTexts().back(), text::kPairingError);
    EXPECT_EQ(rig.wireText().find("AT+ZE"), std::string::npos);
}

TEST(BluetoothPairing, ModeThreeRefusedOrNeverBackAfterTheRestart) {
    // The LED is on: the module is linked and the first switch gets no "OK".
    Rig linked;
    linked.run(kPairing);
    EXPECT_EQ(linked.boxTexts().back(), text::kNoMode3);
    EXPECT_EQ(linked.wireText(), "AT+ZM3\r");

    // A module that never comes back from its restart: the attempts end at 90 %.
    Rig deaf(unlinkedWith(R"("restartMs": 600000)"));
    deaf.run(kPairing);
    EXPECT_EQ(deaf.boxTexts().back(), text::kNoMode3);
    const auto sent = commandsOf(deaf);
    EXPECT_EQ(sent, (std::vector<std::string>{"ZM3", "ZX"}));  // the module heard no more
    size_t asked = 0;
    for (size_t at = 0; (at = deaf.wireText().find("AT+ZM3\r", at)) != std::string::npos; ++at)
        ++asked;
    EXPECT_EQ(asked, 1u + 9u);  // 50 % to 90 % in steps of 5
    const auto* progress = deaf.screen.lastSnapshot("PROGRESO");
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->control(21)->value, 90);
}

TEST(BluetoothPairing, CancelInTheDeviceListLeavesTheModuleSearching) {
    Rig rig(unlinkedWith());
    rig.script("answer \"ATENCION\" Ok\nwhen title \"Emparejamiento\" press \"Cancel\"\n");
    rig.run(kPairing);
    EXPECT_EQ(commandsOf(rig).back(), "ZI15,L");
    EXPECT_EQ(rig.boxTexts().size(), 1u);
    EXPECT_FALSE(rig.line->isOpen());
}

}  // namespace
}  // namespace corvan::boxservice
