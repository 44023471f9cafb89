// The reader library through its own entry, against the simulated box on the virtual
// clock: the requests on the wire, the two passes, the second request after a wrong OK
// byte, a silent unit, and the records as the caller receives them.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/dtcbase/testing/dtc_test_rig.h"
#include "platform/library_loader.h"
#include "plugins/kwpfaults/kwpfaults_entry.h"

namespace corvan::kwpfaults {
namespace {

using testing::withCheck;

std::string scenario(const std::string& rules) {
    return R"({"box": {"program": "running"}, "ecus": [{"name": "engine", "model": "table",
               "config": {"default": {"reply": "7F $0 11"}, "rules": [)" +
           rules + "]}}]}";
}

const std::string kKeys =
    "<MNU\r\n\tDLL=\t[DTCVIEW.DLL]\r\n\tACTUAL=\t[1802FF00]\r\n\tFUGAZ=\t[1803FF00]\r\n"
    "\tPOK=\t[0]\r\n\tVALOK=\t[58]\r\n\tTYPE=\t[KWP2000]\r\n\tTYPEDTC=\t[OBDII]\r\n>\r\n";

class KwpFaultsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        library = loader.load(CORVAN_KWPFAULTS_PLUGIN, &error);
        ASSERT_TRUE(library) << error;
        entry = reinterpret_cast<KwpFaultsEntry>(library->symbol("dll"));
        ASSERT_NE(entry, nullptr);
    }
    int read(const std::string& text, const char* definitions = "") {
        std::memset(records, 0x55, sizeof records);
        return entry(text.c_str(), 0, records, 0, &rig.link, definitions);
    }

    testing::DtcRig rig;
    DlopenLoader loader;
    std::unique_ptr<LoadedLibrary> library;
    KwpFaultsEntry entry = nullptr;
    KwpFaultRecord records[kKwpFaultRecords];
};

TEST_F(KwpFaultsTest, TwoPassesAppendPresentThenIntermittentCodes) {
    rig.boot(scenario(R"({"request": "18 02 FF 00", "reply": "58 02 01 00 E0 03 00 E0"},
                         {"request": "18 03 FF 00", "reply": "58 01 C1 23 A0"})"));
    ASSERT_EQ(read(kKeys, "[P0300][\"Misfire\"][\"Ignition\"][2]"), 3);
    EXPECT_STREQ(records[0].code, "P0100");
    EXPECT_STREQ(records[0].status, "ACTUAL");
    EXPECT_STREQ(records[0].description, "AVERÍA NO IDENTIFICADA");
    EXPECT_STREQ(records[1].code, "P0300");
    EXPECT_STREQ(records[1].description, "Misfire");
    EXPECT_STREQ(records[1].extra, "2");
    EXPECT_STREQ(records[2].code, "N0123");
    EXPECT_STREQ(records[2].status, "FUGAZ");
    EXPECT_EQ(rig.sent(), (std::vector<testing::Bytes>{withCheck("80 05 20 00 18 02 FF 00"),
                                                       withCheck("80 05 20 00 18 03 FF 00")}));
}

TEST_F(KwpFaultsTest, WrongOkByteIsAskedOnceMoreThenThePassGivesNothing) {
    rig.boot(scenario(R"({"request": "18 02 FF 00", "replies": ["7F 18 21", "58 01 01 00 E0"]},
                         {"request": "18 03 FF 00", "reply": "7F 18 21"})"));
    ASSERT_EQ(read(kKeys), 1);
    EXPECT_STREQ(records[0].code, "P0100");
    // First pass: asked twice (the second answer held 58); second pass: twice, then none.
    EXPECT_EQ(rig.sent().size(), 4u);
    EXPECT_EQ(rig.sent()[3], withCheck("80 05 20 00 18 03 FF 00"));
}

TEST_F(KwpFaultsTest, SilentUnitYieldsNoRecordsAfterTheFixedPrompt) {
    rig.boot(scenario(R"({"request": "18 02 FF 00", "reply": "58 01 01 00 E0"},
                         {"request": "18 03 FF 00", "silence": true})"));
    const std::string keys = "<MNU ACTUAL=[1802FF00] FUGAZ=[1803FF00] TYPE=[KWP2000]>";
    EXPECT_EQ(read(keys), 1);  // the first pass's reply is not read again as intermittent
    const auto boxes = rig.boxTexts();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "No hay respuesta del terminal \n¿REINTENTAR?");
    EXPECT_EQ(rig.sent().size(), 5u);  // one, then four sends of the silent pass
}

TEST_F(KwpFaultsTest, EraseRequestsInTheDataAreNeverSent) {
    rig.boot(scenario(R"({"request": "14 FF 00", "reply": "54 FF 00"})"));
    EXPECT_EQ(read("<MNU ACTUAL=[14FF00] FUGAZ=[C410FA14FF00] TYPE=[KWP2000]>"), 0);
    EXPECT_TRUE(rig.port->written().empty());
}

TEST_F(KwpFaultsTest, LongTextsAreCutAtACharacterInTheirField) {
    rig.boot(scenario(R"({"request": "18 02 FF 00", "reply": "58 01 01 00 E0"})"));
    std::string definitions = "[P0100][\"";
    for (int i = 0; i < 300; ++i) definitions += "é";
    definitions += "\"][\"d\"][]";
    ASSERT_EQ(read("<MNU ACTUAL=[1802FF00] TYPE=[KWP2000] TYPEDTC=[OBDII]>", definitions.c_str()),
              1);
    const std::string description = records[0].description;
    EXPECT_EQ(description.size(), 254u);  // 127 characters of two bytes, then the zero
    EXPECT_EQ(description.substr(0, 2), "é");
    EXPECT_EQ(entry("", 0, nullptr, 0, &rig.link, ""), 0);
    EXPECT_EQ(entry(nullptr, 0, records, 0, nullptr, nullptr), 0);
}

}  // namespace
}  // namespace corvan::kwpfaults
