// The graph of the sample engine unit on real Qt windows (offscreen), with the recording
// turned on in a copy of the sample installation: the engine speed with its idle band and
// the cold coolant below its own, then a capture set off by the speed passing 850 rpm. The
// pictures stay in the build folder (screenshots/livegraph) for a person to look at.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>

#include "platform/test_temp_dir.h"
#include "plugins/livedata/graph_dialogs.h"
#include "plugins/livedata/livedata_qt_support.h"
#include "ui/qt/qt_front_end.h"

namespace corvan::livedata {
namespace {

namespace fs = std::filesystem;

TEST(LiveGraphQt, SampleEngineUnitGraphAndCapture) {
    corvan::testing::TempDir dir;
    fs::copy(fs::path(CORVAN_SOURCE_DIR) / "data" / "sample" / "root", dir.path(),
             fs::copy_options::recursive);
    std::ofstream(dir.path() / "STORAGE CARD" / "iCor.cfg", std::ios::app)
        << "LIVEGRAPH=[TRUE]\r\n";

    const fs::path shots = fs::path(CORVAN_SCREENSHOTS) / "livegraph";
    fs::remove_all(shots);
    ui::qt::QtFrontEndOptions options;
    options.offscreen = true;
    options.scale = 1;
    options.screenshotDir = shots;
    auto parsed = ui::parseTechnicianScript(
        "choose \"Temperatures\" in #1001\n"
        "tap \"Engine speed\" in #1000\n"
        "press \"OK\"\n"
        "after 20 pumps when title \"ITEMS LIST\" press \"Graph\"\n"
        "when title \"GRAPH\" choose \"Coolant temperature\" in #1102\n"
        "after 1500 pumps press \"Trigger\"\n"
        "when title \"TRIGGER\" choose \"Above\" in #1204\n"
        "type \"850\" into #1206\n"
        "type \"3\" into #1208\n"
        "type \"3\" into #1210\n"
        "press \"Arm\"\n"
        "answer \"Capture saved\" Ok\n"
        "after 20 pumps press \"Exit\"\n"
        "after 20 pumps press \"Exit\"\n");
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    options.script = parsed.script;
    static int argc = 1;
    static char name[] = "livedata_graph_qt_test";
    static char* argv[] = {name, nullptr};
    ui::qt::QtFrontEnd front(argc, argv, std::move(options));

    testing::runSampleLiveData(dir.path(), front.screen());
    if (HasFatalFailure()) return;

    ui::HeadlessScreen& twins = front.script()->twins();
    EXPECT_TRUE(twins.report().clean()) << twins.report().text();
    const ui::DialogSnapshot* graph = twins.lastSnapshot("LIVEGRAPH");
    ASSERT_NE(graph, nullptr);
    // The twin holds what the Qt graph painted: both strips, the band, the capture's marker.
    const ui::GraphView& view = graph->control(kGraphId)->graph;
    ASSERT_EQ(view.traces.size(), 2u);
    EXPECT_EQ(view.traces[0].label, "Engine speed");
    ASSERT_TRUE(view.traces[0].band);
    EXPECT_EQ(view.traces[0].band->high, 860);
    EXPECT_EQ(view.markers.size(), 1u);
    size_t coldReadings = 0;
    for (const ui::GraphPoint& p : view.traces[1].points) coldReadings += p.outside;
    EXPECT_GT(coldReadings, 0u);  // the engine is still cold

    size_t captures = 0;
    for (const auto& e :
         fs::directory_iterator(dir.path() / "STORAGE CARD" / "CORVANDATA" / "LIVEDATA"))
        captures += e.path().filename().string().starts_with("CAPT_");
    EXPECT_EQ(captures, 1u);
    for (const char* suffix : {"-livegraph-hidden.png", "-livetrigger-hidden.png"}) {
        size_t found = 0;
        for (const auto& e : fs::directory_iterator(shots))
            if (e.path().filename().string().ends_with(suffix)) {
                ++found;
                const QImage picture(QString::fromStdString(e.path().string()));
                EXPECT_EQ(picture.width(), 320) << suffix;
            }
        EXPECT_EQ(found, 1u) << suffix;
    }
}

}  // namespace
}  // namespace corvan::livedata
