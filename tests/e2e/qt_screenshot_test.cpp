// Pictures of the sample sessions' screens at the device's 320 x 240, drawn offscreen and
// left in the build folder (screenshots/plugins/<session>) for a person to look at: the box
// start-up's progress window, the function menu, its information box and the identification.
// The checks catch a screen that was never drawn, drawn at the wrong size or left blank.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QSet>
#include <algorithm>
#include <filesystem>
#include <vector>

#include "qt_session_rig.h"
#include "ui/qt/qt_screenshots.h"

namespace corvan::e2e {
namespace {

namespace fs = std::filesystem;
using ui::qt::kCaptionPixels;

fs::path freshFolder(const std::string& session) {
    const fs::path dir = fs::path(CORVAN_SCREENSHOTS) / session;
    std::error_code ec;
    fs::remove_all(dir, ec);
    fs::create_directories(dir, ec);
    return dir;
}

// The pictures of a folder whose names end in `suffix` ("-funcmenu-shown.png"), in order.
std::vector<fs::path> picturesEndingIn(const fs::path& dir, const std::string& suffix) {
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > suffix.size() && name.ends_with(suffix)) found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

// A picture a person can read: several colours, and dark ink (text, frames) in the window's
// body below the caption.
::testing::AssertionResult drawn(const QImage& image) {
    QSet<QRgb> colours;
    long ink = 0, pixels = 0;
    for (int y = kCaptionPixels; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            colours.insert(c.rgb());
            ++pixels;
            if (c.lightness() < 96) ++ink;
        }
    }
    if (colours.size() < 3)
        return ::testing::AssertionFailure() << "only " << colours.size() << " colours";
    // A filled screen holds text in a few per cent of its pixels; an empty frame far less.
    if (ink * 200 < pixels)
        return ::testing::AssertionFailure() << ink << " dark pixels of " << pixels;
    return ::testing::AssertionSuccess();
}

struct Expected {
    const char* suffix;  // of the file name
    int width, height;   // of the window's body at scale 1, without the caption
};

void expectPictures(const fs::path& dir, const std::vector<Expected>& pictures) {
    for (const Expected& e : pictures) {
        SCOPED_TRACE(e.suffix);
        const auto files = picturesEndingIn(dir, e.suffix);
        ASSERT_FALSE(files.empty()) << "no picture in " << dir;
        // The last one: the screen as the session left it.
        const QImage image(QString::fromStdString(files.back().string()));
        ASSERT_FALSE(image.isNull()) << files.back();
        EXPECT_EQ(image.width(), e.width);
        EXPECT_EQ(image.height(), e.height + kCaptionPixels);
        EXPECT_TRUE(drawn(image)) << files.back();
    }
}

// The engine unit: start-up, identification, the information box, leave.
const std::string kEngineUnitTour = R"(
tap "Identification"
press "SELECT"
after 20 pumps when title "ECU IDENTIFICATION" press "Exit"
press "Information"
answer "Driver name" Ok
when title "OPTIONS MENU" press "Exit"
)";

TEST(SessionScreenshots, EngineUnit) {
    SessionSetup setup;
    setup.script = kEngineUnitTour;
    setup.screenshots = freshFolder("engine-unit");
    const SessionOutcome outcome = runQtSession(setup);
    ASSERT_EQ(outcome.report, "");

    // The progress window as it closes (its step text shown), the menu with its rows, the
    // identification list filled, and the information box.
    expectPictures(setup.screenshots, {{"-boxstart-closed.png", 260, 76},
                                       {"-funcmenu-shown.png", 320, 240},
                                       {"-identify-hidden.png", 320, 240}});
    const auto boxes = picturesEndingIn(setup.screenshots, "-message.png");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].filename().string().find("varbox-code"), std::string::npos) << boxes[0];
    const QImage box(QString::fromStdString(boxes[0].string()));
    EXPECT_TRUE(drawn(box));
    // A message box fits the device's screen.
    EXPECT_LE(box.width(), 320);
    EXPECT_LE(box.height(), 240);
}

// The ABS unit on CAN: the box takes the driver it lacks (download progress), its question
// to the technician, then identification.
TEST(SessionScreenshots, AbsUnitWithDriverDownload) {
    SessionSetup setup;
    setup.script = fileText(CORVAN_SAMPLE_SCRIPTS "/identify_and_leave.txt");
    setup.record = "ABS_CAN.TXT";
    setup.selection = "VOLKSWAGEN GOLF V ABS/ESP";
    setup.screenshots = freshFolder("abs-unit");
    const SessionOutcome outcome = runQtSession(setup);
    ASSERT_EQ(outcome.report, "");

    expectPictures(setup.screenshots, {{"-boxstart-closed.png", 260, 76},
                                       {"-funcmenu-shown.png", 320, 240},
                                       {"-identify-hidden.png", 320, 240}});
    EXPECT_EQ(picturesEndingIn(setup.screenshots, "ignition-on-engine-off-message.png").size(), 1u);
}

}  // namespace
}  // namespace corvan::e2e

namespace corvan::e2e {
namespace {

// The diesel unit speaking KW1281: the channel reader reading group 1 (its window as the
// technician leaves it, the values filled).
TEST(SessionScreenshots, MeasuringBlocksOfTheKw1281Unit) {
    SessionSetup setup;
    setup.script = R"(
tap "Measuring blocks"
press "SELECT"
when title "READ CHANNEL" type "1" into #1001
press "Begin"
after 10 pumps press "Exit"
when title "OPTIONS MENU" press "Exit"
)";
    setup.record = "EDC15_KW1281.TXT";
    setup.selection = "VOLKSWAGEN PASSAT (3B) MOTOR DIESEL 1.9 TDI - BOSCH EDC15";
    setup.screenshots = freshFolder("kw1281-unit");
    const SessionOutcome outcome = runQtSession(setup);
    ASSERT_EQ(outcome.report, "");
    expectPictures(setup.screenshots, {{"-vagchannels-hidden.png", 320, 240}});
    // The reader read the group through the box and decoded it.
    EXPECT_NE(outcome.dump.find("row 0 \"1\" | \"Engine speed\" |"), std::string::npos);
    EXPECT_NE(outcome.dump.find("\"RPM\""), std::string::npos);
    EXPECT_NE(outcome.trace.find("TX 80 05 20 00 04 00 29 01"), std::string::npos);
}

}  // namespace
}  // namespace corvan::e2e
