// The sample engine unit's live data on real Qt windows (offscreen) while a technician
// script works them, against the sample vehicle on the virtual clock: the selection list,
// the live list with the idle ranges, a value outside its range and the large display. The
// pictures stay in the build folder (screenshots/livedata) for a person to look at.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <memory>

#include "plugins/livedata/livedata_dialogs.h"
#include "plugins/livedata/livedata_qt_support.h"
#include "ui/qt/qt_front_end.h"

namespace corvan::livedata {
namespace {

namespace fs = std::filesystem;

const fs::path kSampleRoot = fs::path(CORVAN_SOURCE_DIR) / "data" / "sample" / "root";

std::vector<fs::path> pictures(const fs::path& dir, const std::string& suffix) {
    std::vector<fs::path> found;
    for (const auto& e : fs::directory_iterator(dir))
        if (e.path().filename().string().ends_with(suffix)) found.push_back(e.path());
    return found;
}

TEST(LiveDataQt, SampleEngineUnitOnTheWindows) {
    const fs::path shots = fs::path(CORVAN_SCREENSHOTS) / "livedata";
    fs::remove_all(shots);
    ui::qt::QtFrontEndOptions options;
    options.offscreen = true;
    options.scale = 1;
    options.screenshotDir = shots;
    auto parsed = ui::parseTechnicianScript(
        "choose \"Temperatures\" in #1001\n"
        "tap \"Engine speed\" in #1000\n"
        "press \"OK\"\n"
        "after 40 pumps when title \"ITEMS LIST\" tap \"Coolant temperature\" in #1006\n"
        "after 40 pumps press \"Exit\"\n");
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    options.script = parsed.script;
    static int argc = 1;
    static char name[] = "livedata_qt_test";
    static char* argv[] = {name, nullptr};
    ui::qt::QtFrontEnd front(argc, argv, std::move(options));

    testing::runSampleLiveData(kSampleRoot, front.screen());
    if (HasFatalFailure()) return;

    ui::HeadlessScreen& twins = front.script()->twins();
    EXPECT_TRUE(twins.report().clean()) << twins.report().text();
    const ui::DialogSnapshot* list = twins.lastSnapshot("LIVEDATA");
    ASSERT_NE(list, nullptr);
    const auto& rows = list->control(kLiveListId)->rows;
    ASSERT_EQ(rows.size(), 4u);  // the engine speed and the temperature group
    // The engine is still cold: its coolant lies below the idle range.
    EXPECT_EQ(rows[1].cells[kRangeColumn], "80-105");
    EXPECT_TRUE(rows[1].cells[kValueColumn].ends_with(" \u25BC")) << rows[1].cells[kValueColumn];
    EXPECT_TRUE(list->control(kValueDisplayId)->text.ends_with(" ºC"));
    EXPECT_EQ(list->control(kHelpTextId)->text, "Coolant temperature\n\rRECOMMENDED: 80-105");

    for (const char* suffix : {"-liveselect-hidden.png", "-livedata-hidden.png"}) {
        const auto found = pictures(shots, suffix);
        ASSERT_EQ(found.size(), 1u) << suffix;
        const QImage picture(QString::fromStdString(found[0].string()));
        EXPECT_EQ(picture.width(), 320) << suffix;
        EXPECT_EQ(picture.height(), 258) << suffix;
    }
}

}  // namespace
}  // namespace corvan::livedata
