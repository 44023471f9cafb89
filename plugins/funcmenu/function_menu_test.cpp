// The function menu through its whole call, against the simulated box on the virtual clock:
// which plug-ins run with what, the bytes on the wire, the screens and the result text.
#include <gtest/gtest.h>

#include "plugins/funcmenu/menu_test_rig.h"
#include "runtime/data_path.h"
#include "runtime/run_plugin.h"

namespace corvan::funcmenu::testing {
namespace {

using FunctionMenuTest = MenuRig;

const std::string kRecord =
    "[SYS]=SYSTEM INFORMATION@i000|NAME|EDC16|@i001|FILE|EDC16_KWP.TXT|@i002|DAT|DIESEL EDC16 "
    "KWP2000|@i003|VER|1.3|@i004|DATE|3-2-2007|@i005|TIME|9:5:7|@i006|CODE|VB-3100|";

TEST_F(FunctionMenuTest, IdentificationFromTheMenuThenLeave) {
    boot();
    script(
        "tap \"Identification\"\n"
        "press \"SELECT\"\n"
        "when title \"ECU IDENTIFICATION\" press \"Exit\"\n"
        "when title \"OPTIONS MENU\" press \"Exit\"\n");
    const std::string text = menuText(kIdentificationItem + menuItem("Console", "LINKIO.DLL"));
    EXPECT_EQ(run(text, "EXE"), kRecord);
    EXPECT_TRUE(screen.report().clean()) << screen.report().text();

    // The typical request on the wire, between the state polls, then the closing request
    // and the reset.
    EXPECT_EQ(sent(0x20),
              (std::vector<Bytes>{hex("80 03 20 00 1A 80 39"), hex("80 02 20 00 82 20")}));
    EXPECT_EQ(frames.sent.back(), hex("80 00 88 08"));
    EXPECT_EQ(frames.sent.front(), hex("80 00 82 02"));  // the first pass polls the box
    ASSERT_EQ(sent(0x82).size(), 3u);  // first pass, before EXECUTE, after the function

    const ui::DialogSnapshot* id = screen.lastSnapshot("IDENTIFY");
    ASSERT_NE(id, nullptr);
    const auto& rows = id->control(1000)->rows;
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].cells[1], "7A");  // the configuration's answer, from "#ADITIONAL_ID"
    EXPECT_EQ(rows[1].cells[1], "2233");

    const ui::DialogSnapshot& m = menu();
    EXPECT_EQ(m.title, "OPTIONS MENU: EDC16");
    const ui::ControlState* list = m.control(kMenuListId);
    ASSERT_EQ(list->columns.size(), 1u);
    EXPECT_EQ(list->columns[0].heading, "OPTIONS");
    EXPECT_EQ(list->columns[0].width, 185);
    ASSERT_EQ(list->rows.size(), 2u);
    EXPECT_EQ(list->rows[0].cells[0], "Identification");
    EXPECT_EQ(m.control(kRunButtonId)->text, "SELECT");
    EXPECT_EQ(m.control(kInformationButtonId)->text, "Information");
    EXPECT_EQ(m.control(kExitButtonId)->text, "Exit");
    EXPECT_EQ(m.control(kPowerLabelId)->text, "Power");
    EXPECT_EQ(m.control(kPowerValueId)->text, "OK");
    EXPECT_EQ(callFiles(), std::vector<std::string>{"config.so"});
}

TEST_F(FunctionMenuTest, TrailingAtReachesOnlyTheConfigurationPlugin) {
    boot();
    script("tap \"Work\"\npress \"SELECT\"\npress \"Exit\"\n");
    const std::string items = menuItem("Work", "FUNC.DLL");
    const std::string text =
        "#AUTORUN\r\n\tDLL=\t[AUTORUN.DLL]\r\n" + menuText(items);  // an automatic plug-in too
    EXPECT_EQ(run(text, "EXE@"), "");  // "EXE@" is not "EXE": no system information
    const auto c = calls();
    ASSERT_EQ(c.size(), 3u);
    EXPECT_EQ(c[0].file, "config.so");
    EXPECT_EQ(c[0].mode, "EXE@");
    EXPECT_EQ(c[0].start, 0);
    EXPECT_EQ(c[1].file, "autorun.so");
    EXPECT_EQ(c[1].mode, "EXE");
    EXPECT_EQ(c[1].start, 0);  // the position of "#AUTORUN"
    EXPECT_EQ(c[2].file, "func.so");
    EXPECT_EQ(c[2].mode, "EXE");
    EXPECT_EQ(c[2].start, static_cast<int>(text.find("<MNU")));
    EXPECT_EQ(c[2].name, "EDC16");
    EXPECT_EQ(c[2].language, 1);
}

TEST_F(FunctionMenuTest, AdditionalIdBlockAppendedByteForByte) {
    boot();
    script("tap \"Work\"\npress \"WÄHLEN\"\npress \"Verlassen\"\n");
    const std::string text = menuText(menuItem("Work", "FUNC.DLL"), "7A");
    run(text, "EXE", kGerman);
    const auto c = calls();
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[0].text, text);  // the configuration plug-in gets the text as it came
    EXPECT_EQ(c[1].text, text + "#ADITIONAL_ID\r\n\tID=\t[7A]\n\r#END");
    EXPECT_EQ(c[1].language, kGerman);
}

TEST_F(FunctionMenuTest, ThirtyOneItemsShowThirtyRows) {
    boot();
    script("press \"Exit\"\n");
    std::string items;
    for (int i = 0; i < 31; ++i) items += menuItem("Function " + std::to_string(i), "FUNC.DLL");
    run(menuText(items), "EXE");
    const auto& rows = menu().control(kMenuListId)->rows;
    ASSERT_EQ(rows.size(), 30u);
    EXPECT_EQ(rows.back().cells[0], "Function 29");
}

TEST_F(FunctionMenuTest, ItemWithoutDllRunsNothingAndTheMenuGoesOn) {
    boot();
    // The first item's "DLL=" is missing; the one that follows belongs to the next item.
    script(
        "tap \"No plug-in\"\npress \"SELECT\"\n"
        "tap \"Gone\"\npress \"SELECT\"\n"
        "tap \"Work\"\npress \"SELECT\"\npress \"Exit\"\n");
    const std::string items = menuItem("No plug-in", "", "\tMSG=\t[\"Never shown\"]\r\n") +
                              menuItem("Gone", "GONE.DLL", "\tMSG=\t[\"Not shown either\"]\r\n") +
                              menuItem("Work", "FUNC.DLL", "\tMSG=\t[\"\"]\r\n");
    EXPECT_EQ(run(menuText(items), "EXE"), kRecord);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{
                              "Load Error, DLL STORAGE CARD\\CORVANDATA\\DLL\\",
                              "Load Error, DLL STORAGE CARD\\CORVANDATA\\DLL\\GONE.DLL",
                              " ",  // an empty quoted message shows a blank
                          }));
    EXPECT_EQ(callFiles(), (std::vector<std::string>{"config.so", "func.so"}));
}

TEST_F(FunctionMenuTest, ItemMessageComesBeforeThePlugin) {
    boot();
    script("tap \"Work\"\npress \"SELECT\"\npress \"Exit\"\n");
    size_t callsAtMessage = 99;
    screen.setDumpSink([&](std::string_view record) {
        if (record.find("Switch the ignition on") != std::string_view::npos)
            callsAtMessage = calls().size();
    });
    run(menuText(menuItem("Work", "FUNC.DLL", "\tMSG=\t[\"Switch the ignition on\"]\r\n")), "EXE");
    EXPECT_EQ(callsAtMessage, 1u);  // only the configuration had run
    EXPECT_EQ(callFiles(), (std::vector<std::string>{"config.so", "func.so"}));
}

TEST_F(FunctionMenuTest, ConfigurationErrorEndsAtOnce) {
    boot();
    EXPECT_EQ(run(menuText(menuItem("Work", "FUNC.DLL"), "ERROR 1"), "EXE"), "ERROR");
    EXPECT_TRUE(frames.sent.empty());  // no menu, no closing requests
    EXPECT_EQ(screen.lastSnapshot("FUNCMENU"), nullptr);
}

TEST_F(FunctionMenuTest, DemonstrationHasNoTrafficAtAll) {
    boot();
    script("tap \"Work\"\npress \"SELECT\"\npress \"Information\"\npress \"Exit\"\n");
    const std::string text =
        "#AUTORUN\r\n\tDLL=\t[AUTORUN.DLL]\r\n" + menuText(menuItem("Work", "FUNC.DLL"));
    EXPECT_EQ(run(text, "DEMO"), "");
    EXPECT_TRUE(port->written().empty());
    EXPECT_EQ(callFiles(), std::vector<std::string>{"func.so"});
    EXPECT_EQ(calls()[0].mode, "DEMO");
    EXPECT_NE(calls()[0].text.find("ID=\t[OK]"), std::string::npos);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"DEMO MODE"});
}

TEST_F(FunctionMenuTest, ReportModeShowsNothingRunsNoFunctionAndCloses) {
    boot();
    EXPECT_EQ(run(menuText(menuItem("Work", "FUNC.DLL")), "REPORT"), kRecord);
    EXPECT_EQ(callFiles(), std::vector<std::string>{"config.so"});
    EXPECT_EQ(calls()[0].mode, "REPORT");
    EXPECT_FALSE(menu().everShown);
    EXPECT_EQ(frames.sent, (std::vector<Bytes>{hex("80 02 20 00 82 20"), hex("80 00 88 08")}));
}

TEST_F(FunctionMenuTest, WithoutItemsNoDialogButStillClosing) {
    boot();
    EXPECT_EQ(run(menuText("", "7A", ""), "EXE"), kRecord);
    EXPECT_FALSE(menu().everShown);
    EXPECT_EQ(frames.sent, std::vector<Bytes>{hex("80 00 88 08")});  // no "END=" bytes
}

TEST_F(FunctionMenuTest, RecordWithoutConfigurationSection) {
    boot();
    script("tap \"Work\"\npress \"SELECT\"\npress \"Exit\"\n");
    const std::string text =
        kExtendedInformation + "#MENU\r\n" + menuItem("Work", "FUNC.DLL") + "#END\r\n";
    // No "DLL=": loading the bare DLL folder fails; an empty answer is no "ERROR", so the
    // menu runs with an empty identification and closes with the reset alone.
    EXPECT_EQ(run(text, "EXE"), kRecord);
    EXPECT_EQ(boxTexts(),
              std::vector<std::string>{"Load Error, DLL STORAGE CARD\\CORVANDATA\\DLL\\"});
    ASSERT_EQ(callFiles(), std::vector<std::string>{"func.so"});
    EXPECT_EQ(calls()[0].text, text + "#ADITIONAL_ID\r\n\tID=\t[]\n\r#END");
    EXPECT_EQ(frames.sent.back(), hex("80 00 88 08"));
    EXPECT_TRUE(sent(0x20).empty());
}

TEST_F(FunctionMenuTest, ControlKeyOpensTheConsole) {
    boot();
    script("hold control\npress \"INFORMAÇÃO\"\nrelease control\npress \"SAIR\"\n");
    run(menuText(menuItem("Work", "FUNC.DLL")), "EXE", kPortuguese);
    const auto c = calls();
    ASSERT_EQ(c.size(), 2u);
    EXPECT_EQ(c[1].file, "linkio.so");
    EXPECT_EQ(c[1].start, 0);
    EXPECT_EQ(c[1].language, kPortuguese);
    EXPECT_TRUE(screen.messageBoxes().empty());
}

TEST_F(FunctionMenuTest, MissingConfigurationFileAndMissingConsole) {
    boot();
    fs::remove(dll / "linkio.so");
    script("hold control\npress \"Información\"\nrelease control\npress \"SALIR\"\n");
    run(menuText(menuItem("Work", "FUNC.DLL")), "EXE", kSpanish);
    EXPECT_EQ(boxTexts(), std::vector<std::string>{
                              "Error en carga de DLL STORAGE CARD\\CORVANDATA\\DLL\\LINKIO.DLL"});

    // Without iCor.cfg the data path is empty: every plug-in path starts at the root.
    fs::remove(dir.path() / "STORAGE CARD" / "iCor.cfg");
    script("press \"Exit\"\n");
    run(menuText(menuItem("Work", "FUNC.DLL")), "EXE");
    const auto texts = boxTexts();
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[1], "iCor.cfg NOT FOUND");
    EXPECT_EQ(texts[2], "Load Error, DLL \\DLL\\CONFIG.DLL");
}

TEST_F(FunctionMenuTest, EngineCallsTheBuiltLibrary) {
    boot();
    script(
        "tap \"Identification\"\npress \"SELECT\"\n"
        "when title \"ECU IDENTIFICATION\" press \"Exit\"\n"
        "when title \"OPTIONS MENU\" press \"Exit\"\n");
    ModuleContext engine(link, kEnglish, "EXE");
    const std::string text = menuText(kIdentificationItem);
    const std::string result =
        RunPlugin(engine, kDataPath, "FUNCMENU.DLL", PluginCall{text, 0, "EXE", "EDC16"}, kEnglish,
                  "Load Error, DLL %s");
    EXPECT_EQ(result, kRecord);
    EXPECT_EQ(sent(0x20).front(), hex("80 03 20 00 1A 80 39"));
    EXPECT_TRUE(screen.report().clean()) << screen.report().text();
}

}  // namespace
}  // namespace corvan::funcmenu::testing
