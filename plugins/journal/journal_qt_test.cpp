// The journal screen as a real Qt window, drawn offscreen at the device's 320 x 240 and left
// in the build folder (screenshots/plugins/journal) for a person to look at: the list of a
// vehicle's writes with one picked, and the coding window the restore opens with the old
// coding in its field.
#include <QImage>

#include "plugins/journal/journal_screen.h"
#include "plugins/vagkline/vag_test_rig.h"
#include "runtime/journal_file.h"
#include "ui/qt/qt_screen.h"
#include "ui/qt/qt_script_automation.h"

namespace corvan::journal {
namespace {

namespace fs = std::filesystem;

const std::string kText =
    "#MENU\r\n<MNU\r\n\tID=\t[M01]\r\n\tTEXT=\t[\"Coding\"]\r\n\tDLL=\t[VAGCODING.DLL]\r\n"
    "\tDATA=\t[03000000]\r\n>\r\n<MNU\r\n\tID=\t[JOURNAL]\r\n\tDLL=\t[JOURNAL.DLL]\r\n>\r\n#"
    "END\r\n";

class QtJournal : public vagkline::testing::VagRig {
  protected:
    QtJournal() : file(root, clock, vagkline::testing::kDataPath, "GOLF IV KOMBI") {
        installPlugin(CORVAN_VAGCODING_PLUGIN, "vagcoding.so");
        host.journal = &file;
    }
    void runOnQt(const std::string& name, const std::string& technician) {
        const auto parsed = ui::parseTechnicianScript(technician);
        ASSERT_TRUE(parsed.ok()) << parsed.error;
        ui::qt::ScriptAutomation automation(parsed.script);
        automation.twins().setRunawayHandler(
            [](const ui::RunReport& r) { throw std::runtime_error("runaway: " + r.text()); });
        folder = fs::path(CORVAN_SCREENSHOTS) / name;
        std::error_code ec;
        fs::remove_all(folder, ec);
        ui::qt::QtScreenOptions options;
        options.scale = 1;
        options.screenshotDir = folder;
        options.automation = &automation;
        options.attended = false;
        ui::qt::QtScreen qt(std::move(options));
        host.screen = &qt;
        ModuleContext ctx = context("EXE");
        runJournal(ctx, PluginCall{kText, static_cast<int>(kText.find("<MNU", 10)), "EXE",
                                   "VW GOLF IV KOMBI"});
        host.screen = &screen;
        EXPECT_TRUE(automation.twins().report().clean()) << automation.twins().report().text();
    }
    size_t pictures(const std::string& part) const {
        size_t n = 0;
        for (const auto& e : fs::directory_iterator(folder)) {
            if (e.path().filename().string().find(part) == std::string::npos) continue;
            const QImage image(QString::fromStdString(e.path().string()));
            n += !image.isNull() && image.width() == 320;
        }
        return n;
    }
    JournalFile file;
    fs::path folder;
};

TEST_F(QtJournal, TheVehiclesWritesAndTheRestoreOfACoding) {
    boot(vagkline::testing::kombiScenario(R"("coding": 4321)"));
    const std::string kombi = "VW GOLF IV KOMBI";
    file.answered(file.aboutToWrite({"erase", "VW GOLF IV MOTOR", "P0100 P0300", "",
                                     "80 07 20 00 C4 10 FA 14 FF 00", "", "", ""}),
                  "80 03 20 00 54 FF 00", true);
    file.answered(file.aboutToWrite({"login", kombi, "", "4711",
                                     "80 09 20 00 08 00 2B 12 67 00 16 2E", "", "", ""}),
                  "80 05 20 00 03 00 0A", false);
    clock.advanceUs(65'000'000);
    file.answered(
        file.aboutToWrite({"coding", kombi, "1234", "4321", "80 09 20 00 07 00 10 21 C2 16 2E",
                           "VAGCODING.DLL", "M01", "1234"}),
        "80 05 20 00 03 00 09, coding read back: 4321", true);
    runOnQt("journal",
            "after 3 pumps dump\n"
            "press \"Restore previous\"\n"
            "when text #1001 \"ENTER NEW CODE\" dump\n"
            "when text #1001 \"ENTER NEW CODE\" press \"Exit\"\n"
            "after 3 pumps press \"Exit\"\n");
    EXPECT_GE(pictures("journal"), 1u);
    EXPECT_GE(pictures("vagcoding"), 1u);
    EXPECT_EQ(unit().coding(), 4321);  // the technician left the coding window: nothing sent
}

}  // namespace
}  // namespace corvan::journal
