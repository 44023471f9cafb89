// Starting the engine, documents and the prompt before it.
#include "shell/launch.h"

#include <gtest/gtest.h>

#include "shell/screen_layout.h"
#include "shell/shell_test_support.h"

namespace corvan::shell {
namespace {

using namespace layout;
using testing::crlf;
using testing::vehicleLine;

TEST(EngineCommandLine, ExactTextForEachMode) {
    EXPECT_EQ(engineCommandLine("EDC16_KWP.TXT", "BMW", "SERIE 3 (E46)", "MOTOR DIESEL", "EDC16",
                                false, false),
              "/EDC16_KWP.TXT /BMW SERIE 3 (E46) MOTOR DIESEL EDC16 /EXE");
    EXPECT_EQ(engineCommandLine("R.TXT", "B", "M", "S", "V", false, true),
              "/R.TXT /B M S V /EXE /LOADDRIVER");
    // Simulation ignores the reload-driver flag.
    EXPECT_EQ(engineCommandLine("R.TXT", "B", "M", "S", "V", true, true),
              "/R.TXT /B M S V /DEMO=1");
    EXPECT_EQ(engineCommandLine("", "B", "M", "S", "V", false, false), "/ /B M S V /EXE");
}

TEST(EngineCommandLine, DocumentsByTheirLastFourCharacters) {
    EXPECT_TRUE(isDocument("MANUAL.HTM"));
    EXPECT_TRUE(isDocument("manual.htm"));
    EXPECT_TRUE(isDocument(".Htm"));
    EXPECT_FALSE(isDocument("MANUAL.HTML"));
    EXPECT_FALSE(isDocument("HTM"));
    EXPECT_FALSE(isDocument(""));
}

class LaunchTest : public testing::ShellFixture {
  protected:
    LaunchTest() {
        installEngine();
        host.engineOptions = {"--root", temp.path().string()};
    }

    static constexpr const char* kToDiesel =
        "doubletap \"DIAGNOSIS\"\ndoubletap \"BMW\"\ndoubletap \"SERIE 3 (E46)\"\n"
        "doubletap \"DIESEL ENGINE\"\n";

    // The command line the engine was started with (the last argument).
    std::vector<std::string> engineLines() {
        std::vector<std::string> lines;
        for (const auto& s : starter.starts)
            if (s.program == enginePath() && !s.args.empty()) lines.push_back(s.args.back());
        return lines;
    }
};

TEST_F(LaunchTest, PromptThenTheEngineWithTheSelection) {
    runShell(std::string(kToDiesel) +
             "doubletap \"EDC16\"\nwhen title \"\" dump\npress \"SELECT\"\n");
    ASSERT_EQ(starter.starts.size(), 1u);
    // The host options first, then the whole command line as one argument.
    EXPECT_EQ(
        starter.starts[0].args,
        (std::vector<std::string>{"--root", temp.path().string(),
                                  "/EDC16_KWP.TXT /BMW SERIE 3 (E46) MOTOR DIESEL EDC16 /EXE"}));
    const auto* prompt = screen.lastSnapshot("CONTACTO");
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->control(kPromptText)->text, "Turn on ignition and press OK");
    EXPECT_EQ(prompt->control(kReloadDriver)->text, "Check if no response from Varbox");
    EXPECT_FALSE(app->navigation().reloadDriver);
}

TEST_F(LaunchTest, TickedBoxReloadsTheDriverAndIsRemembered) {
    addPicture("Conexiones/Small/E46_OBD.bmp");
    runShell(std::string(kToDiesel) +
             "doubletap \"EDC16\"\ncheck #402\ndump\npress \"SELECT\"\n"
             "doubletap \"EDC16\"\npress \"SELECT\"\n");
    EXPECT_EQ(engineLines(),
              (std::vector<std::string>{
                  "/EDC16_KWP.TXT /BMW SERIE 3 (E46) MOTOR DIESEL EDC16 /EXE /LOADDRIVER",
                  "/EDC16_KWP.TXT /BMW SERIE 3 (E46) MOTOR DIESEL EDC16 /EXE"}));
    // The prompt opens with the box clear every time and shows the small connection picture.
    for (const auto& s : screen.snapshots())
        if (s.name == "CONTACTO" && s.reason == "script") {
            EXPECT_TRUE(s.control(kReloadDriver)->checked);
            EXPECT_EQ(
                s.control(kPromptPicture)->picture,
                device(std::string(testing::kInstall) + "/Imagenes/Conexiones/Small/E46_OBD.bmp")
                    .string());
        }
    EXPECT_FALSE(app->navigation().reloadDriver);
}

TEST_F(LaunchTest, SimulationSkipsThePrompt) {
    runShell(
        "doubletap \"SIMULATION\"\ndoubletap \"BMW\"\ndoubletap \"SERIE 3 (E46)\"\n"
        "doubletap \"DIESEL ENGINE\"\ndoubletap \"EDC16\"\n");
    EXPECT_EQ(engineLines(), std::vector<std::string>{
                                 "/EDC16_KWP.TXT /BMW SERIE 3 (E46) MOTOR DIESEL EDC16 /DEMO=1"});
    EXPECT_EQ(screen.lastSnapshot("CONTACTO"), nullptr);
}

TEST_F(LaunchTest, CancelStartsNothingAndLeavesThePage) {
    runShell(std::string(kToDiesel) + "doubletap \"EDC16\"\npress \"CANCEL\"\ndump\n");
    EXPECT_TRUE(starter.starts.empty());
    EXPECT_EQ(screen.lastSnapshot("FONDO"), nullptr);
    EXPECT_EQ(app->page()->kind(), PageKind::Variant);
    const auto* page = screen.lastSnapshot("VARIANTES");
    EXPECT_EQ(page->control(kList)->selectedRow, 0);
    EXPECT_TRUE(page->visible);
}

TEST_F(LaunchTest, LastMatchingRecordAndAnEmptyOne) {
    writeMenu("BMW.mnu", crlf({vehicleLine("M", "MOTOR DIESEL", "V", "FIRST.TXT"),
                               vehicleLine("M", "MOTOR DIESEL", "V", "SECOND.TXT"),
                               vehicleLine("M", "MOTOR DIESEL", "W", "W.TXT"),
                               vehicleLine("M", "MOTOR DIESEL", "W", "")}));
    runShell(
        "doubletap \"SIMULATION\"\ndoubletap \"BMW\"\ndoubletap \"M\"\n"
        "doubletap \"DIESEL ENGINE\"\ndoubletap \"V\"\ndoubletap \"W\"\n");
    EXPECT_EQ(engineLines(), (std::vector<std::string>{"/SECOND.TXT /BMW M MOTOR DIESEL V /DEMO=1",
                                                       "/ /BMW M MOTOR DIESEL W /DEMO=1"}));
}

TEST_F(LaunchTest, LowerCaseDocumentOpensInTheBrowser) {
    onPath.insert("xdg-open");
    starter.present.insert("/usr/bin/xdg-open");
    runShell(
        "doubletap \"DIAGNOSIS\"\ndoubletap \"BMW\"\ndoubletap \"SERIE 3 (E46)\"\n"
        "doubletap \"BRAKES-TRACTION SYSTEM\"\n"
        "doubletap \"ASC - STABILITY CONTROL MK20\"\n");
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_EQ(starter.starts[0].program, "/usr/bin/xdg-open");
    EXPECT_EQ(starter.starts[0].args,
              std::vector<std::string>{
                  device(std::string(testing::kInstall) + "/INF/asc_manual.htm").string()});
    EXPECT_EQ(screen.lastSnapshot("CONTACTO"), nullptr);  // no prompt for a document
    EXPECT_TRUE(starter.waits.empty());
}

TEST_F(LaunchTest, DocumentWithoutABrowser) {
    runShell(
        "doubletap \"DIAGNOSIS\"\ndoubletap \"BMW\"\ndoubletap \"SERIE 3 (E46)\"\n"
        "doubletap \"BRAKES-TRACTION SYSTEM\"\n"
        "doubletap \"ASC - STABILITY CONTROL MK20\"\n");
    EXPECT_TRUE(starter.starts.empty());
    ASSERT_EQ(screen.messageBoxes().size(), 1u);
    EXPECT_EQ(screen.messageBoxes()[0].text,
              "No es posible abrir el documento \\STORAGE CARD\\CORVANDATA\\INF\\asc_manual.htm");
    EXPECT_EQ(screen.messageBoxes()[0].icon, ui::Icon::Stop);
}

TEST_F(LaunchTest, WaitsInHalfSecondSlicesBehindTheBackgroundAndComesBack) {
    addPicture("Fondo-KELM_ZUL.bmp");
    starter.slices = 3;
    int pumpsBehind = 0;
    bool pageHidden = true;
    screen.setPumpHook([&](ui::HeadlessScreen& s) {
        if (const auto* fondo = s.findDialog("FONDO"); fondo && fondo->isVisible()) {
            ++pumpsBehind;
            if (const auto* page = s.findDialog("VARIANTES")) pageHidden &= !page->isVisible();
        }
    });
    runShell(std::string(kToDiesel) +
             "doubletap \"EDC16\"\npress \"SELECT\"\n"
             "when rows #100 >= 1 dump\npress #202\n");
    EXPECT_EQ(starter.waits, (std::vector<int>{500, 500, 500, 500}));
    EXPECT_EQ(pumpsBehind, 4);  // drawn once, then one pump after every slice
    EXPECT_TRUE(pageHidden);
    const auto* background = screen.lastSnapshot("FONDO");
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->control(kBackground)->picture,
              device(std::string(testing::kInstall) + "/Imagenes/Fondo-KELM_ZUL.bmp").string());
    // Back on the variant page with the same selection; Back leads on to the systems.
    const ui::DialogSnapshot* after = nullptr;
    for (const auto& s : screen.snapshots())
        if (s.name == "VARIANTES" && s.reason == "script") after = &s;
    ASSERT_NE(after, nullptr);
    EXPECT_TRUE(after->visible);
    EXPECT_EQ(after->control(kList)->selectedRow, 0);
    EXPECT_EQ(app->page()->kind(), PageKind::System);
    EXPECT_TRUE(screen.messageBoxes().empty());
}

TEST_F(LaunchTest, MissingEngineIsReportedAfterTheBackgroundIsGone) {
    std::filesystem::remove(enginePath());
    runShell(std::string(kToDiesel) + "doubletap \"EDC16\"\npress \"SELECT\"\n");
    ASSERT_EQ(starter.starts.size(), 1u);
    EXPECT_TRUE(starter.waits.empty());
    EXPECT_EQ(boxTexts(), std::vector<std::string>{"No se encuentra la aplicación eCor.exe"});
    const std::string text = dump.str();
    const size_t background = text.find("dialog FONDO destroyed");
    ASSERT_NE(background, std::string::npos);
    EXPECT_LT(background, text.find("No se encuentra la aplicaci"));
    EXPECT_EQ(app->page()->kind(), PageKind::Variant);
}

}  // namespace
}  // namespace corvan::shell
