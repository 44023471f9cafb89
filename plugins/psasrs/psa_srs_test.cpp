// The PSA airbag coding against the simulated airbag unit on the virtual clock: the refusal
// of a coded unit, the choice of configuration and the coding request on the wire.
#include "plugins/psasrs/psa_srs.h"

#include <gtest/gtest.h>

#include "plugins/codingcommon/plugin_rig.h"
#include "plugins/psasrs/psa_coding_request.h"
#include "sim/airbag_models.h"

namespace corvan::psasrs {
namespace {

using coding::testing::Bytes;
using coding::testing::hex;
using coding::testing::PluginRig;

const std::string kUnit = coding::testing::oneUnit("psa-airbag", R"({
    "status": "21 A0", "statusReply": "61 A0 00 00", "pos": 2, "bit": 0, "configPos": 3})");
const std::string kItem =
    "<MNU\r\n\tTEXT=\t[\"Airbag coding\"]\r\n\tINF=\t[21A0]\r\n\tPOS=\t[2]\r\n\tBIT=\t[0]\r\n>\r\n";
const std::string kAlreadyCodedText =
    "ATTENTION: ECU still codified. Is not possible to codify it again";

TEST(PsaCodingRequest, ChoicesMapToTheConfigurationByteAndTheLastByteIsZero) {
    EXPECT_EQ(configurationByte(0), 0x01);
    EXPECT_EQ(configurationByte(1), 0x02);
    EXPECT_EQ(configurationByte(2), 0x06);
    EXPECT_EQ(codingRequest(0x06), hex("80 06 20 00 84 BB A4 06 00"));
}

TEST(PsaSrs, CodesOnceAndThenRefusesWithoutADialog) {
    PluginRig rig(kUnit);
    rig.script("choose \"Driver and passenger\"\npress \"Key codifying\"\n");
    EXPECT_EQ(rig.run(&runPsaSrs, kItem), "");
    EXPECT_EQ(rig.ecuMessages(), (std::vector<Bytes>{hex("21 A0"), hex("84 BB A4 02 00")}));
    EXPECT_EQ(rig.boxTexts(), (std::vector<std::string>{"Codification done"}));
    EXPECT_EQ(rig.boxesBefore(hex("84 BB A4 02 00")), 0);
    const Bytes coding = hex("80 06 20 00 84 BB A4 02 00 3F");
    const Bytes& wire = rig.port->written();
    ASSERT_GE(wire.size(), coding.size());
    EXPECT_EQ(Bytes(wire.end() - long(coding.size()), wire.end()), coding);
    const auto& unit = rig.unit<sim::PsaAirbag>();
    EXPECT_TRUE(unit.coded());
    EXPECT_EQ(unit.configuration(), 0x02);
    const ui::DialogSnapshot& dialog = rig.last("PSASRS");
    EXPECT_EQ(dialog.title, "ECU CODIFICATION");
    EXPECT_EQ(dialog.control(kChooseLabelId)->text, "Choose configuration");
    EXPECT_TRUE(dialog.control(kDriverPassengerId)->checked);
    EXPECT_FALSE(dialog.control(kDriverOnlyId)->checked);

    // The unit now says it is coded: the message, no dialog, no coding request.
    const size_t dialogs = rig.screen.snapshots().size();
    rig.run(&runPsaSrs, kItem, "EXE", kSpanish);
    EXPECT_EQ(rig.boxTexts().back(),
              "ATENCIÓN: UCE ya codificada. No es posible codificarla de nuevo");
    EXPECT_EQ(rig.screen.snapshots().size(), dialogs);
    EXPECT_EQ(unit.codingRequests(), 1);
}

TEST(PsaSrs, FirstChoicePreselectedAndEveryChoiceSendsItsByte) {
    for (const auto& [choose, byte] :
         {std::pair{"", 0x01}, std::pair{"Driver, passenger and key deactivation", 0x06},
          std::pair{"Only driver", 0x01}}) {
        PluginRig rig(kUnit);
        std::string script = "press \"Key codifying\"\n";
        if (*choose) script = "choose \"" + std::string(choose) + "\"\n" + script;
        rig.script(script);
        rig.run(&runPsaSrs, kItem);
        EXPECT_EQ(rig.unit<sim::PsaAirbag>().lastCoding(),
                  (Bytes{0x84, 0xBB, 0xA4, uint8_t(byte), 0x00}))
            << choose;
    }
}

TEST(PsaSrs, BitZeroWithStatusOneIsAlreadyCoded) {
    PluginRig rig(coding::testing::oneUnit("table", R"({"rules": [
        {"request": "21 A0", "reply": "61 A0 01"}]})"));
    rig.run(&runPsaSrs, kItem, "EXE", kGerman);
    EXPECT_EQ(rig.boxTexts(),
              (std::vector<std::string>{
                  "ACHTUNG: Steuergerät bereits codiert. Erneutes Codieren nicht möglich"}));
    EXPECT_EQ(rig.screen.lastSnapshot("PSASRS"), nullptr);
    EXPECT_EQ(rig.ecuMessages().size(), 1u);
}

TEST(PsaSrs, ACodingWithoutAnyReplyIsNotReportedAsDone) {
    // The unit answers its status but not the coding: the fixed question, then not "done".
    PluginRig rig(coding::testing::oneUnit("table", R"({"default": "silence", "rules": [
        {"request": "21 A0", "reply": "61 A0 00"}]})"));
    rig.script("press \"Key codifying\"\n");
    rig.run(&runPsaSrs, kItem);
    EXPECT_EQ(rig.boxTexts(),
              (std::vector<std::string>{
                  "No hay respuesta del terminal \n¿REINTENTAR?",
                  "The ECU did not answer: coding not confirmed. Read its status before coding "
                  "again"}));
    EXPECT_EQ(rig.count(hex("84 BB A4 01 00")), 4u);
}

TEST(PsaSrs, DemonstrationShowsTheDialogWithCodingDisabledAndSendsNothing) {
    PluginRig rig(kUnit);
    rig.script("close\n");
    rig.run(&runPsaSrs, kItem, "DEMO");
    const ui::DialogSnapshot& dialog = rig.last("PSASRS");
    EXPECT_TRUE(dialog.everShown);
    EXPECT_FALSE(dialog.control(kCodeId)->enabled);
    EXPECT_TRUE(rig.port->written().empty());
}

}  // namespace
}  // namespace corvan::psasrs
