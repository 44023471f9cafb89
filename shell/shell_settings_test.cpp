#include "shell/shell_settings.h"

#include <gtest/gtest.h>

#include "platform/file_io.h"
#include "platform/test_kill_harness.h"
#include "shell/options_dialog.h"
#include "shell/screen_layout.h"
#include "shell/shell_test_support.h"

namespace corvan::shell {
namespace {

using testing::ShellFixture;
using testing::writeFile;

TEST(ShellSettings, ConfigurationFileBesideTheDataFolder) {
    EXPECT_EQ(configFileLocation(kDataFolder), "\\STORAGE CARD\\iCor.cfg");
    EXPECT_EQ(configFileLocation("\\Storage Card\\CorvanData\\"), "\\STORAGE CARD\\iCor.cfg");
    EXPECT_EQ(configFileLocation("\\SD\\"), "\\SD\\iCor.cfg");
}

TEST(ShellSettings, RewriteReplacesEveryOccurrence) {
    const std::string text = "PATH=[COM1 FILES\\CORVANDATA]\r\nPORT=[COM1]\r\nLANGUAGE=[ENGLISH]";
    EXPECT_EQ(rewriteConfigText(text, "ENGLISH", "GERMAN", "COM1", "COM2"),
              "PATH=[COM2 FILES\\CORVANDATA]\r\nPORT=[COM2]\r\nLANGUAGE=[GERMAN]");
    EXPECT_EQ(rewriteConfigText(text, "ENGLISH", "ENGLISH", "COM1", "COM1"), text);
    // Nothing chosen in a list keeps that value (the device would blank it out), and an
    // empty current value matches nothing.
    EXPECT_EQ(rewriteConfigText(text, "ENGLISH", "", "COM1", ""), text);
    EXPECT_EQ(rewriteConfigText(text, "", "SPANISH", "", "COM2"), text);
    EXPECT_EQ(replaceAll("aaa", "a", "aa"), "aaaaaa");
    EXPECT_EQ(replaceAll("abcabc", "bc", ""), "aa");
}

class LoadConfigurationTest : public ShellFixture {};

TEST_F(LoadConfigurationTest, ReadsTheThreeSettings) {
    writeFile(configFile(), "LANGUAGE=[PORTUGUESE]\r\nPORT=[COM2]\r\nPATH=[SD\\CORVANDATA]\r\n");
    ShellSettings s;
    LoadConfiguration(s, host);
    EXPECT_EQ(s.installPath, "SD\\CORVANDATA");
    EXPECT_EQ(s.port, "COM2");
    EXPECT_EQ(s.languageName, "PORTUGUESE");
    EXPECT_EQ(s.languageIndex, 5);
    EXPECT_TRUE(screen.messageBoxes().empty());

    setConfig("english", "COM1");
    LoadConfiguration(s, host);
    EXPECT_EQ(s.languageName, "english");
    EXPECT_EQ(s.languageIndex, 0);
}

TEST_F(LoadConfigurationTest, MissingFileIsReportedAndChangesNothing) {
    ShellSettings s;
    s.installPath = "KEPT";
    std::filesystem::remove(configFile());
    LoadConfiguration(s, host);
    EXPECT_EQ(s.installPath, "KEPT");
    EXPECT_EQ(boxTexts(),
              std::vector<std::string>{
                  "No es posible abrir fichero de configuración \\STORAGE CARD\\iCor.cfg"});
}

TEST_F(LoadConfigurationTest, FileWithoutKeysOrBracketsGivesEmptyValues) {
    for (const std::string content : {"", "garbage\r\n", "PATH=\r\nPORT=COM1\r\nLANGUAGE=GERMAN",
                                      "PATH=[\r\nLANGUAGE=]GERMAN["}) {
        writeFile(configFile(), content);
        ShellSettings s;
        LoadConfiguration(s, host);
        EXPECT_EQ(s.languageName, "") << content;
        EXPECT_EQ(s.port, "") << content;
        EXPECT_EQ(s.languageIndex, 0) << content;
    }
    // The "]" is searched from the key like the "[": here it closes the path's value.
    EXPECT_TRUE(screen.messageBoxes().empty());
    ShellSettings s;
    LoadConfiguration(s, host);
    EXPECT_EQ(s.installPath, "\r\nLANGUAGE=");
}

class OptionsDialogTest : public ShellFixture {
  protected:
    // Opens the dialog with the settings of the file and runs it by the script.
    bool runOptions(const std::string& script) {
        EXPECT_EQ(screen.loadScript(script, limits()), "");
        LoadConfiguration(settings, host);
        return OptionsDialog(host, settings, "SETTINGS");
    }
    std::string fileText() { return readWholeFile(configFile()).value_or("<none>"); }

    ShellSettings settings;
};

TEST_F(OptionsDialogTest, ShowsTheCurrentSettings) {
    writeFile(configFile(), "PATH=[STORAGE CARD\\CORVANDATA]\r\nPORT=[SIM]\r\nLANGUAGE=[GERMAN]");
    EXPECT_FALSE(runOptions("press \"CANCEL\"\n"));
    const auto* s = screen.lastSnapshot("CONFIGURACION");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->control(layout::kLanguageLabel)->text, "Sprache:");
    EXPECT_EQ(s->control(layout::kFolderLabel)->text, "Arbeitsmappe:");
    EXPECT_EQ(s->control(layout::kPortLabel)->text, "Schnittstelle:");
    EXPECT_EQ(s->control(layout::kLanguageList)->currentItem, 2);
    // The installation's own port stays selectable beside the two serial ports.
    EXPECT_EQ(s->control(layout::kPortList)->items,
              (std::vector<std::string>{"COM1", "COM2", "SIM"}));
    EXPECT_EQ(s->control(layout::kPortList)->currentItem, 2);
    EXPECT_EQ(s->control(layout::kFolderField)->text, "STORAGE CARD\\CORVANDATA");
}

TEST_F(OptionsDialogTest, LowerCaseLanguageSelectsNoEntry) {
    setConfig("english", "COM1");
    runOptions("press \"CANCEL\"\n");
    EXPECT_EQ(screen.lastSnapshot("CONFIGURACION")->control(layout::kLanguageList)->currentItem,
              -1);
}

TEST_F(OptionsDialogTest, AcceptedChangeRewritesOnlyTheChosenTexts) {
    // A Windows-1252 byte, an undefined one and a COM1 inside the path: every byte but the
    // replaced texts survives.
    const std::string before =
        "; Configuraci\xF3n \x81\r\nPATH=[STORAGE CARD\\CORVANDATA COM1]\r\nPORT=[COM1]\r\n"
        "LANGUAGE=[ENGLISH]\r\nEXTRA=[ENGLISH notes]";
    writeFile(configFile(), before);
    EXPECT_TRUE(
        runOptions("choose \"PORTUGUESE\" in #311\nchoose \"COM2\" in #313\n"
                   "press \"SELECT\"\nanswer \"apply\" Yes\n"));
    EXPECT_EQ(fileText(),
              "; Configuraci\xF3n \x81\r\nPATH=[STORAGE CARD\\CORVANDATA COM2]\r\nPORT=[COM2]\r\n"
              "LANGUAGE=[PORTUGUESE]\r\nEXTRA=[PORTUGUESE notes]");
    EXPECT_EQ(settings.languageName, "PORTUGUESE");
    EXPECT_EQ(settings.languageIndex, 5);
    EXPECT_EQ(screen.messageBoxes().at(0).text,
              "You have modified the configuration \r\n Do you want to apply this changes?");
    // Written through a temporary file beside it: nothing else is left in the folder.
    size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(configFile().parent_path()))
        files += e.is_regular_file();
    EXPECT_EQ(files, 1u);
}

TEST_F(OptionsDialogTest, AShellKilledWhileItRewritesTheConfigurationLeavesTheOldOrTheNew) {
    // A long comment makes each rewrite take a while, so kills land inside the writes.
    const std::string notes = std::string(120000, ';') + "\r\n";
    const auto config = [&](const std::string& language) {
        return notes + "PATH=[STORAGE CARD\\CORVANDATA]\r\nPORT=[COM1]\r\nLANGUAGE=[" + language +
               "]\r\n";
    };
    writeFile(configFile(), config("ENGLISH"));
    // Each shell switches the language to the other one, as the options dialog's Yes does.
    const auto switchLanguage = [&](uint64_t) {
        LoadConfiguration(settings, host);
        const std::string other = settings.languageName == "ENGLISH" ? "GERMAN" : "ENGLISH";
        return applyOptions(host, settings, other, "");
    };
    const auto figures =
        corvan::testing::killWriterRepeatedly(30, 11, 15000, switchLanguage, [&](int kill) {
            const std::string now = fileText();
            ASSERT_TRUE(now == config("ENGLISH") || now == config("GERMAN"))
                << "kill " << kill << ": " << now.size() << " bytes";
        });
    EXPECT_FALSE(figures.failed);
    EXPECT_EQ(figures.kills, 30);
    // The next rewrite that goes through clears what the killed ones left beside the file.
    LoadConfiguration(settings, host);
    ASSERT_TRUE(applyOptions(host, settings, "GERMAN", ""));
    size_t files = 0;
    for (const auto& e : std::filesystem::directory_iterator(configFile().parent_path()))
        files += e.is_regular_file();
    EXPECT_EQ(files, 1u);
}

TEST_F(OptionsDialogTest, UnchangedAcceptRewritesIdenticalBytes) {
    setConfig("ENGLISH", "COM1");
    const std::string before = fileText();
    EXPECT_TRUE(runOptions("press \"SELECT\"\nanswer \"\" Yes\n"));
    EXPECT_EQ(fileText(), before);
}

TEST_F(OptionsDialogTest, NoKeepsTheDialogOpenAndCancelLeavesEverything) {
    setConfig("ENGLISH", "COM1");
    const std::string before = fileText();
    EXPECT_FALSE(
        runOptions("choose \"GERMAN\" in #311\npress \"SELECT\"\nanswer \"\" No\n"
                   "press \"CANCEL\"\n"));
    EXPECT_EQ(fileText(), before);
    EXPECT_EQ(settings.languageName, "ENGLISH");
    EXPECT_TRUE(screen.report().clean()) << screen.report().text();
}

TEST_F(OptionsDialogTest, FileGoneWhenAcceptedWritesNothing) {
    setConfig("ENGLISH", "COM1");
    screen.setPumpHook([this](ui::HeadlessScreen& s) {
        if (s.findDialog("CONFIGURACION")) std::filesystem::remove(configFile());
    });
    EXPECT_FALSE(runOptions("choose \"GERMAN\" in #311\npress \"SELECT\"\nanswer \"\" Yes\n"));
    EXPECT_FALSE(std::filesystem::exists(configFile()));
    EXPECT_EQ(settings.languageName, "ENGLISH");
    EXPECT_EQ(boxTexts().back(),
              "No es posible abrir fichero de configuración \\STORAGE CARD\\iCor.cfg");
}

}  // namespace
}  // namespace corvan::shell
