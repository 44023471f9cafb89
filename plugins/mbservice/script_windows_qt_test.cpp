// The script's windows as real Qt windows, drawn offscreen at the device's 320 x 240 and
// left in the build folder (screenshots/plugins/mbservice) for a person to look at: the
// message window with its bar, the choice list and the code entry.
#include <QImage>
#include <QSet>

#include "plugins/mbservice/script_test_rig.h"
#include "plugins/mbservice/script_windows.h"
#include "ui/qt/qt_screen.h"
#include "ui/qt/qt_script_automation.h"

namespace corvan::mbservice::testing {
namespace {

class QtScriptWindows : public ScriptRig {
  protected:
    // Runs `body` on the Qt screens with `technician` working them; the pictures go to
    // DIR/<name>.
    void runOnQt(const std::string& name, const std::string& body, const std::string& technician) {
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
        run(body);
        host.screen = &screen;
        EXPECT_TRUE(automation.twins().report().clean()) << automation.twins().report().text();
    }
    // The one picture whose name ends in `suffix`.
    QImage picture(const std::string& suffix) const {
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().filename().string().ends_with(suffix))
                return QImage(QString::fromStdString(entry.path().string()));
        ADD_FAILURE() << "no picture *" << suffix << " in " << folder;
        return {};
    }
    // A window's picture: its rectangle, the caption above it, and more than a blank frame.
    static void expectDrawn(const QImage& image, int width, int height) {
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), width);
        EXPECT_EQ(image.height(), height + ui::qt::kCaptionPixels);
        QSet<QRgb> colours;
        long dark = 0;
        for (int y = ui::qt::kCaptionPixels; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                colours.insert(image.pixel(x, y));
                if (QColor(image.pixel(x, y)).lightness() < 96) ++dark;
            }
        EXPECT_GE(colours.size(), 3);
        EXPECT_GT(dark * 200, long(image.width()) * image.height());  // text and frames
    }

    fs::path folder;
};

TEST_F(QtScriptWindows, MessageWindowWithProgress) {
    runOnQt("message-window",
            "SHOWMSG(\"Resetting the service indicator, please wait...\");MOV(COUNT,60);"
            "PROGRESS(COUNT);EXIT();",
            "");
    // As the run ends and the window goes: the text and the bar at 60.
    expectDrawn(picture("-scriptmsg-hidden.png"), 300, 150);
}

TEST_F(QtScriptWindows, ChoiceList) {
    runOnQt("choice-list", "COMBO(OIL SERVICE\\INSPECTION\\BRAKE FLUID\\);EXIT();",
            "tap \"INSPECTION\"\npress \"OK\"\n");
    EXPECT_EQ(state.choice, 1);
    expectDrawn(picture("-choice-shown.png"), 300, 220);
    expectDrawn(picture("-choice-hidden.png"), 300, 220);  // the row chosen, OK enabled
}

TEST_F(QtScriptWindows, CodeEntry) {
    runOnQt("code-entry",
            "SETSND(2702);ENTERPIN(\"Workshop access code (5 digits)\",TYPE_2,2,5,NUM);EXIT();",
            "type \"12345\" into #1007\npress \"OK\"\n");
    EXPECT_EQ(state.frame, "27023039");
    expectDrawn(picture("-codeentry-shown.png"), 280, 130);
    expectDrawn(picture("-codeentry-hidden.png"), 280, 130);  // the code typed
}

}  // namespace
}  // namespace corvan::mbservice::testing
