#include "plugins/funcmenu/system_info.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/text_table.h"

namespace corvan::funcmenu {
namespace {

const std::string kText =
    "#CONFIGURATION\r\n\tDLL=\t[BOXSTART.DLL]\r\n\tCODE=\t[wrong]\r\n"
    "#EXTENDED_INFORMATION\r\n\tFILE=\t[EDC16_KWP.TXT]\r\n\tCODE=\t[VB-3100]\r\n"
    "\tVER=\t[2.14]\r\n\tNAMEDAT=\t[DIESEL EDC16]\r\n\tVERDAT=\t[1.3]\r\n#MENU\r\n<MNU\r\n>";

TEST(SystemInfo, KeysComeFromTheExtendedInformation) {
    const SystemInfo info = readSystemInfo(kText);
    EXPECT_EQ(info.code, "VB-3100");
    EXPECT_EQ(info.version, "2.14");
    EXPECT_EQ(info.file, "EDC16_KWP.TXT");
    EXPECT_EQ(info.dataName, "DIESEL EDC16");
    EXPECT_EQ(info.dataVersion, "1.3");
    // Without the section the whole text is searched.
    EXPECT_EQ(readSystemInfo("\tCODE=\t[X1]\r\n").code, "X1");
}

TEST(SystemInfo, RecordWithDateAndTimeWithoutLeadingZeros) {
    const CivilTime t{2007, 2, 3, 9, 5, 7};
    EXPECT_EQ(deviceDate(t), "3-2-2007");
    EXPECT_EQ(deviceTime(t), "9:5:7");
    EXPECT_EQ(systemInfoRecord("EDC16", readSystemInfo(kText), t),
              "[SYS]=SYSTEM INFORMATION@i000|NAME|EDC16|@i001|FILE|EDC16_KWP.TXT|@i002|DAT|"
              "DIESEL EDC16|@i003|VER|1.3|@i004|DATE|3-2-2007|@i005|TIME|9:5:7|@i006|CODE|"
              "VB-3100|");
    // Percent signs in the data are data, not formats.
    SystemInfo odd;
    odd.code = "%s%n";
    EXPECT_NE(systemInfoRecord("%d", odd, t).find("|NAME|%d|"), std::string::npos);
    EXPECT_NE(systemInfoRecord("%d", odd, t).find("|CODE|%s%n|"), std::string::npos);
}

TEST(SystemInfo, StateAndChecksumWords) {
    EXPECT_EQ(stateText(0, kEnglish), "Disconnected");
    EXPECT_EQ(stateText(1, kEnglish), "Connected");
    EXPECT_EQ(stateText(2, kEnglish), "Trying to connect");
    EXPECT_EQ(stateText(3, kEnglish), "Unknown");
    EXPECT_EQ(stateText(2, kPortuguese), "REINTENTANDO LIGAÇÃO");
    EXPECT_EQ(stateText(9, kGerman), "Unbekannt");
    EXPECT_EQ(checksumWord(0), "OK");
    EXPECT_EQ(checksumWord(1), "WRONG");
}

TEST(SystemInfo, DriverNameEndsAtTheFirstZeroWithinNineteenBytes) {
    std::vector<uint8_t> reply{0x80, 0x13, 0x0F, 'K', 'W', 'P', '2', '0', '0', '0', 0, 'X'};
    reply.resize(24, 'Y');
    EXPECT_EQ(driverNameFromReply(reply), "KWP2000");
    std::vector<uint8_t> full(3, 0);
    for (int i = 0; i < 25; ++i) full.push_back(static_cast<uint8_t>('A' + i));
    EXPECT_EQ(driverNameFromReply(full), "ABCDEFGHIJKLMNOPQRS");
    EXPECT_EQ(driverNameFromReply(std::vector<uint8_t>{0x80, 0x00}), "");
}

TEST(SystemInfo, InformationTextByLanguageGermanFallsBackToEnglish) {
    const SystemInfo info = readSystemInfo(kText);
    const std::string english =
        "VarBox Code: VB-3100\r\nVarBox Version: 2.14\r\n\r\nData name: DIESEL EDC16\r\n"
        "Data Version: 1.3\r\n\r\nDriver name: KWP2000\r\nDriver checksum: OK\r\n\r\n"
        "Connection status: Connected";
    EXPECT_EQ(informationText(kEnglish, info, "KWP2000", "OK", "Connected"), english);
    EXPECT_EQ(informationText(kGerman, info, "KWP2000", "OK", "Connected"), english);
    // Slot 3 is empty too and falls back to Spanish.
    for (int language : {kSpanish, 3})
        EXPECT_TRUE(informationText(language, info, "D", "OK", "S")
                        .starts_with("Código VarBox: VB-3100\r\nVersion VarBox: 2.14\r\n"));
    EXPECT_NE(informationText(kPortuguese, info, "D", "OK", "S").find("VersÃo VarBox: 2.14"),
              std::string::npos);
}

}  // namespace
}  // namespace corvan::funcmenu
