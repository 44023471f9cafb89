// Pictures of the trouble-code and actuator screens of the sample engine unit at the
// device's 320 x 240, drawn offscreen and left in the build folder
// (screenshots/plugins/trouble-codes) for a person to look at: the self-test's progress,
// the code list with the detail of a tapped code, and the actuator test while the unit
// drives an actuator.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <filesystem>

#include "qt_session_rig.h"
#include "ui/qt/qt_screenshots.h"

namespace corvan::e2e {
namespace {

namespace fs = std::filesystem;

fs::path pictureEndingIn(const fs::path& dir, const std::string& suffix) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().filename().string().ends_with(suffix)) found.push_back(entry.path());
    std::sort(found.begin(), found.end());
    return found.empty() ? fs::path() : found.back();
}

// A picture with text in it: dark pixels in at least a thousandth of the window's body (the
// progress and actuator windows are mostly empty; a blank frame has none).
bool hasText(const QImage& image) {
    long ink = 0, pixels = 0;
    for (int y = ui::qt::kCaptionPixels; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x, ++pixels)
            if (image.pixelColor(x, y).lightness() < 96) ++ink;
    return ink * 1000 >= pixels;
}

TEST(TroubleCodeScreenshots, SelfTestCodeListAndActuatorTest) {
    SessionSetup setup;
    setup.script = R"(
tap "Self-test"
press "SELECT"
answer "WARNING" Yes
answer "Is engine running?" Yes
when text #1003 "2" tap "P0300"
after 3 pumps press "Exit"
when title "OPTIONS MENU" tap "Actuator test"
press "SELECT"
when text #1002 "Wait..." tap "Fuel pump relay"
press "Exit"
when title "OPTIONS MENU" press "Exit"
)";
    setup.screenshots = fs::path(CORVAN_SCREENSHOTS) / "trouble-codes";
    std::error_code ec;
    fs::remove_all(setup.screenshots, ec);
    const SessionOutcome outcome = runQtSession(setup);
    ASSERT_EQ(outcome.report, "");

    struct Expected {
        const char* suffix;
        int height;
    } pictures[] = {
        {"-selftest-hidden.png", 80}, {"-dtclist-hidden.png", 240}, {"-actuators-hidden.png", 240}};
    for (const Expected& e : pictures) {
        SCOPED_TRACE(e.suffix);
        const fs::path file = pictureEndingIn(setup.screenshots, e.suffix);
        ASSERT_FALSE(file.empty()) << "no picture in " << setup.screenshots;
        const QImage image(QString::fromStdString(file.string()));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.height(), e.height + ui::qt::kCaptionPixels);
        EXPECT_TRUE(hasText(image));
    }
    // The list shows the unidentified code's detail: the ECU's reply.
    EXPECT_NE(outcome.dump.find("P0300 (AUTOTEST): 85FA10730100030006"), std::string::npos)
        << outcome.dump;
}

}  // namespace
}  // namespace corvan::e2e
