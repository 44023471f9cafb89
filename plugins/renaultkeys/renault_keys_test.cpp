// The Renault key coding against the simulated immobilizer on the virtual clock: what the
// entry enables, the learning requests on the wire, the guidance the technician reads.
#include "plugins/renaultkeys/renault_keys.h"

#include <gtest/gtest.h>

#include "plugins/codingcommon/plugin_rig.h"
#include "plugins/renaultkeys/renault_key_requests.h"
#include "sim/immobilizer_models.h"

namespace corvan::renaultkeys {
namespace {

using coding::testing::hex;
using coding::testing::PluginRig;
using Boxes = std::vector<std::string>;

const std::string kImmobilizer =
    coding::testing::oneUnit("renault-immobilizer", R"({"pin": "12AB"})");
const std::string kStart = "85 26 F1 31 C5 00 12 AB";
const std::string kEnd = "84 26 F1 3B D2 01 00";

std::string entry(const std::string& pin, const std::string& keys) {
    return "type \"" + pin + "\" into #1001\ntype \"" + keys + "\" into #1003\n";
}

TEST(RenaultKeyRequests, PinCharactersCountAsHexadecimalDigitsOnlyInUpperCase) {
    using Pin = std::array<uint8_t, 2>;
    EXPECT_EQ(pinBytes("12AB"), (Pin{0x12, 0xAB}));
    EXPECT_EQ(pinBytes("9FcD"), (Pin{0x9F, 0x0D}));  // lower case is worth 0
    EXPECT_EQ(pinBytes("ab-Z"), (Pin{0x00, 0x00}));
    EXPECT_EQ(pinBytes("1é34"), (Pin{0x10, 0x34}));  // one place per character
    EXPECT_EQ(learningStartRequest("0F1E"), hex("80 09 20 00 85 26 F1 31 C5 00 0F 1E"));
    EXPECT_EQ(learningEndRequest(), hex("80 08 20 00 84 26 F1 3B D2 01 00"));
    EXPECT_TRUE(learningStarted(hex("80 05 20 00 82 F1 26 71 C5 00")));
    EXPECT_FALSE(learningStarted(hex("80 06 20 00 83 F1 26 7F 31 35 00")));
    EXPECT_FALSE(learningStarted(hex("80 05 20 00 82 F1 26 7F C5 00")));
    EXPECT_TRUE(learningStarted(hex("80 05 20 00 82 F1 26 71 C5")));  // no more is needed
    EXPECT_FALSE(learningStarted(hex("80 05 20 00 82 F1 26 71")));    // cut short
}

TEST(RenaultKeys, TwoKeysAreGuidedOneByOneBeforeOneEndRequest) {
    PluginRig rig(kImmobilizer);
    rig.script(entry("12AB", "2") + "press \"Key codifying\"\n");
    EXPECT_EQ(rig.run(&runRenaultKeys, "", "EXE", 1, "MEGANE II"), "");
    EXPECT_EQ(rig.boxTexts(),
              (Boxes{"Pull key out", "Enter key 1, turn ignition on and wait (don´t start engine)",
                     "Key codifying done.\n\rPull key out",
                     "Enter key 2, turn ignition on and wait (don´t start engine)",
                     "Key codifying done.\n\rPull key out"}));
    EXPECT_EQ(rig.ecuMessages(), (std::vector<coding::testing::Bytes>{hex(kStart), hex(kEnd)}));
    // The start goes out once the key is out; the end after the last key's guidance.
    EXPECT_EQ(rig.boxesBefore(hex(kStart)), 1);
    EXPECT_EQ(rig.boxesBefore(hex(kEnd)), 5);
    EXPECT_EQ(rig.port->written(), [] {
        auto wire = hex("80 09 20 00 85 26 F1 31 C5 00 12 AB B6");
        const auto end = hex("80 08 20 00 84 26 F1 3B D2 01 00 13");
        wire.insert(wire.end(), end.begin(), end.end());
        return wire;
    }());
    EXPECT_EQ(rig.unit<sim::RenaultImmobilizer>().sessions(), 1);
    const ui::DialogSnapshot& dialog = rig.last("RENAULTKEYS");
    EXPECT_EQ(dialog.title, "KEY CODIFYING: MEGANE II");
    EXPECT_EQ(dialog.control(kPinLabelId)->text, "PIN (4 characters)");
    EXPECT_EQ(dialog.control(kKeysLabelId)->text, "Number of keys (1-2)");
    // The PIN the technician typed is in no line of the dump.
    EXPECT_EQ(rig.dump().find("12AB"), std::string::npos) << rig.dump();
    EXPECT_NE(rig.dump().find("edit #1001 \"****\""), std::string::npos);
    EXPECT_TRUE(rig.screen.report().clean()) << rig.screen.report().text();
}

TEST(RenaultKeys, ButtonWaitsForFourCharactersAndOneToFourKeys) {
    struct Case {
        const char* pin;
        const char* keys;
        bool enabled;
    };
    for (const Case& c :
         {Case{"123", "1", false}, Case{"12345", "1", false}, Case{"1234", "0", false},
          Case{"1234", "5", false}, Case{"1234", "", false}, Case{"1234", "4", true},
          Case{"ab-é", "1", true}}) {
        PluginRig rig(kImmobilizer);
        rig.script(entry(c.pin, c.keys) + "dump\nclose\n");
        rig.run(&runRenaultKeys, "");
        const ui::DialogSnapshot* typed = nullptr;
        for (const auto& s : rig.screen.snapshots())
            if (s.reason == "script") typed = &s;
        ASSERT_NE(typed, nullptr);
        EXPECT_EQ(typed->control(kCodeId)->enabled, c.enabled) << c.pin << " " << c.keys;
        EXPECT_TRUE(rig.port->written().empty());
    }
}

TEST(RenaultKeys, PresetKeyCountIsOneAndTheButtonStartsDisabled) {
    PluginRig rig(kImmobilizer);
    rig.script("dump\nclose\n");
    rig.run(&runRenaultKeys, "");
    const ui::DialogSnapshot& first = rig.screen.snapshots().front();
    EXPECT_EQ(first.control(kKeysId)->text, "1");
    EXPECT_FALSE(first.control(kCodeId)->enabled);
}

TEST(RenaultKeys, RefusedOrSilentStartSaysInvalidCodeAndNeverEnds) {
    {
        PluginRig rig(kImmobilizer);
        rig.script(entry("12AC", "1") + "press \"Key codifying\"\n");
        rig.run(&runRenaultKeys, "");
        EXPECT_EQ(rig.boxTexts(), (Boxes{"Pull key out", "ATTENTIÓN: invalid code."}));
        EXPECT_EQ(rig.ecuMessages(),
                  (std::vector<coding::testing::Bytes>{hex("85 26 F1 31 C5 00 12 AC")}));
    }
    {
        // Nothing answers: four sends, the question, No, and the cleared reply is no start.
        PluginRig rig(coding::testing::oneUnit("table", R"({"default": "silence"})"));
        rig.script(entry("12AB", "1") + "press #1004\n");
        rig.run(&runRenaultKeys, "", "EXE", kGerman);
        EXPECT_EQ(rig.boxTexts(),
                  (Boxes{"Schlüssel abziehen", "VarBox antwortet nicht.\nNeuen Versuch starten?",
                         "ACHTUNG: ungültiger Code."}));
        EXPECT_EQ(rig.ecuMessages().size(), 4u);
        EXPECT_EQ(rig.last("RENAULTKEYS").title, "SCHLÜSSELCODIERUNG: UNIT");
    }
}

TEST(RenaultKeys, DemonstrationRefusesAndSendsNothing) {
    PluginRig rig(kImmobilizer);
    rig.script(entry("12AB", "2") + "press \"Codificar llaves\"\n");
    EXPECT_EQ(rig.run(&runRenaultKeys, "", "DEMO", kSpanish), "");
    EXPECT_EQ(rig.boxTexts(), (Boxes{"No disponible en modo DEMO"}));
    EXPECT_TRUE(rig.port->written().empty());
    EXPECT_TRUE(rig.last("RENAULTKEYS").everShown);
}

}  // namespace
}  // namespace corvan::renaultkeys
