#include "ui/screen_dump.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "ui/headless_screen.h"
#include "ui/ui_test_support.h"

namespace corvan::ui {
namespace {

using namespace testing;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool hasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST(ScreenDump, QuotesTextsSoEveryRecordStaysOnOneLine) {
    EXPECT_EQ(quoteText("a\"b\\c\nd\te\r\x01Ü"), "\"a\\\"b\\\\c\\nd\\te\\r\\x01Ü\"");
    EXPECT_EQ(dumpName(""), "-");
    EXPECT_EQ(dumpName("MY DIALOG"), "MY_DIALOG");
}

TEST(ScreenDump, DialogDumpShowsEveryControlListAndState) {
    HeadlessScreen screen;
    std::ostringstream out;
    screen.setDumpStream(out);
    {
        auto d = screen.createDialog(sampleTemplate());
        d->setTitle("OPTIONS MENU: ENGINE");
        d->setColumns(kList, {{"OPTIONS", 185}, {"KEY", 0}});
        d->addRow(kList, {"IDENTIFICATION", "I"});
        d->addRow(kList, {"LIVE \"DATA\"", "L"});
        d->setRowGrey(kList, 1, true);
        d->selectRow(kList, 1);
        d->setEnabled(kSelect, false);
        d->setControlVisible(kInfo, false);
        d->setChecked(kCheck, true);
        d->setItems(kCombo, {"KWP 2000"});
        d->setCurrentItem(kCombo, 0);
        d->setRange(kProgress, 0, 30);
        d->setProgress(kProgress, 7);
        d->setPicture(kPicture, "/root/Imagenes/LogoCorvan.bmp");
        d->show(true);
    }
    const auto lines = linesOf(out.str());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "dialog SAMPLE destroyed");
    EXPECT_EQ(lines.back(), "end");
    for (const char* expected : {
             "  title \"OPTIONS MENU: ENGINE\"",
             "  visible yes shown yes",
             "  list #100 selected 1",
             "    column 0 \"OPTIONS\" 185",
             "    column 1 \"KEY\" 0 hidden",
             "    row 0 \"IDENTIFICATION\" | \"I\"",
             "    row 1 grey \"LIVE \\\"DATA\\\"\" | \"L\"",
             "  button #1 \"SELECT\" disabled",
             "  button #2 \"Exit\"",
             "  button #3 \"Information\" hidden",
             "  label #10 \"Power\"",
             "  edit #11 \"\"",
             "  check #12 \"Keep\" checked",
             "  radio #13 \"Front\"",
             "  combo #15 current 0",
             "    item 0 \"KWP 2000\"",
             "  progress #16 0..30 value 7",
             "  picture #17 \"/root/Imagenes/LogoCorvan.bmp\"",
         })
        EXPECT_TRUE(hasLine(lines, expected)) << expected << "\n" << out.str();
    // Controls come in the template's order.
    const auto pos = [&](const std::string& l) { return std::find(lines.begin(), lines.end(), l); };
    EXPECT_LT(pos("  list #100 selected 1"), pos("  button #2 \"Exit\""));
    ASSERT_EQ(screen.snapshots().size(), 1u);
    EXPECT_EQ(screen.snapshots()[0].control(kList)->rows.size(), 2u);
}

TEST(ScreenDump, MessageBoxesRecordTextButtonsAndAnswer) {
    HeadlessScreen screen;
    std::ostringstream out;
    screen.setDumpStream(out);
    ASSERT_EQ(screen.loadScript("answer \"RETRY\" Yes\n"), "");
    screen.messageBox("No response from VarBox\nRETRY?", "eCor", Buttons::YesNo, Icon::Question);
    screen.messageBox("Load Error, DLL /x.so", "", Buttons::Ok, Icon::Stop);
    EXPECT_EQ(out.str(),
              "message-box 1\n"
              "  title \"eCor\"\n"
              "  text \"No response from VarBox\\nRETRY?\"\n"
              "  buttons YesNo\n"
              "  icon Question\n"
              "  answer Yes rule 1\n"
              "message-box 2\n"
              "  title \"\"\n"
              "  text \"Load Error, DLL /x.so\"\n"
              "  buttons Ok\n"
              "  icon Stop\n"
              "  answer Ok default\n");
}

TEST(ScreenDump, EventsComeInTheOrderTheyHappen) {
    HeadlessScreen screen;
    std::ostringstream out;
    screen.setDumpStream(out);
    ASSERT_EQ(screen.loadScript("tap row 0\ndump\npress \"Exit\"\n"), "");
    FakeModule m(screen);
    screen.setPumpHook([](HeadlessScreen& s) {
        if (s.pumpCount() == 1) s.messageBox("DEMO MODE", "", Buttons::Ok, Icon::Information);
    });
    m.run();
    std::vector<std::string> heads;
    for (const auto& line : linesOf(out.str()))
        if (!line.empty() && line[0] != ' ' && line != "end") heads.push_back(line);
    EXPECT_EQ(heads, (std::vector<std::string>{
                         "rule 1 on SAMPLE at pump 1: tap row 0",
                         "message-box 1",
                         "rule 2 on SAMPLE at pump 2: dump",
                         "dialog SAMPLE script",
                         "rule 3 on SAMPLE at pump 3: press \"Exit\"",
                         "dialog SAMPLE destroyed",
                     }));
    ASSERT_EQ(screen.snapshots().size(), 2u);
    EXPECT_EQ(screen.snapshots()[0].reason, "script");
    EXPECT_EQ(screen.snapshots()[0].control(kList)->selectedRow, 0);
}

TEST(ScreenDump, DialogNeverShownSaysSo) {
    HeadlessScreen screen;
    screen.createDialog(sampleTemplate()).reset();  // a module in report mode
    ASSERT_EQ(screen.snapshots().size(), 1u);
    EXPECT_FALSE(screen.snapshots()[0].everShown);
    EXPECT_NE(formatSnapshot(screen.snapshots()[0]).find("  visible no shown no\n"),
              std::string::npos);
}

TEST(ScreenDump, SecretFieldKeepsNoTypedPinInTheDump) {
    DialogTemplate t = sampleTemplate();
    for (ControlSpec& c : t.controls)
        if (c.id == kEdit) c.secret = true;
    HeadlessScreen screen;
    std::ostringstream out;
    screen.setDumpStream(out);
    // A comment quoting the PIN is masked too; a rule written with an escape of its own
    // (a backslash before "B") is shown as its gist.
    ASSERT_EQ(screen.loadScript("type \"12\\\"4\" into #11  # \"12\\\"4\"\n"
                                "when text #11 \"2\" dump\n"
                                "type \"Ä\\B12\" into #11\n"
                                "press \"Exit\"\n"),
              "");
    auto d = screen.createDialog(t);
    d->show(true);
    std::vector<std::string> read;
    DialogHandlers h;
    h.onTextChange = [&](int id) { read.push_back(d->text(id)); };
    h.onButton = [&](int) { d->setCommand("EXIT"); };
    d->setHandlers(h);
    while (d->command() != "EXIT") screen.pumpMessages();
    d.reset();
    // The module reads what was typed.
    EXPECT_EQ(read, (std::vector<std::string>{"12\"4", "ÄB12"}));
    const std::string dump = out.str();
    for (const char* secret : {"12\\\"4", "ÄB12", "Ä\\B12"})
        EXPECT_EQ(dump.find(secret), std::string::npos) << secret << "\n" << dump;
    const auto lines = linesOf(dump);
    EXPECT_TRUE(hasLine(lines, "rule 1 on SAMPLE at pump 1: type \"****\" into #11  # \"****\""))
        << dump;
    EXPECT_TRUE(hasLine(lines, "rule 3 on SAMPLE at pump 3: type \"****\" into #11")) << dump;
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "  edit #11 \"****\""), 2) << dump;
}

TEST(ScreenDump, GraphDumpsItsWindowMarkersTracesAndEveryPoint) {
    HeadlessScreen screen;
    std::ostringstream out;
    screen.setDumpStream(out);
    DialogTemplate t;
    t.name = "GRAPH";
    t.controls = {spec(5, ControlKind::Graph)};
    {
        auto d = screen.createDialog(t);
        GraphView v;
        v.from = 0.5;
        v.to = 60.5;
        v.markers = {12.25};
        v.note = "PAUSED";
        GraphTrace speed{"Engine speed", "rpm", GraphBand{780, 880}, {}};
        for (int i = 0; i < 9; ++i)
            speed.points.push_back({i * 0.5, 800.0 + i * 20, 800.0 + i * 20 > 880});
        speed.points[2].value = std::nan("");
        v.traces = {speed, GraphTrace{"Idle switch", "", std::nullopt, {}}};
        d->setGraph(5, v);
        EXPECT_EQ(d->graph(5).traces.size(), 2u);
    }
    EXPECT_EQ(out.str(),
              "dialog GRAPH destroyed\n"
              "  title \"\"\n"
              "  visible no shown no\n"
              "  graph #5 traces 2\n"
              "    window 0.5..60.5 note \"PAUSED\"\n"
              "    marker 12.25\n"
              "    trace 0 \"Engine speed\" unit \"rpm\" band 780..880 points 9 readings 8 "
              "outside 4\n"
              "      0:800 0.5:820 1:- 1.5:860 2:880 2.5:900* 3:920* 3.5:940*\n"
              "      4:960*\n"
              "    trace 1 \"Idle switch\" unit \"\" points 0 readings 0 outside 0\n"
              "end\n");
}

TEST(GraphScale, HoldsReadingsAndBandWithAMarginAndSpreadsAFlatTrace) {
    GraphTrace t{"", "", GraphBand{80, 105}, {{0, 40, true}, {1, 60, true}}};
    const GraphScale s = graphScale(t);
    EXPECT_DOUBLE_EQ(s.low, 40 - 3.25);
    EXPECT_DOUBLE_EQ(s.high, 105 + 3.25);
    const GraphScale flat = graphScale(GraphTrace{"", "", std::nullopt, {{0, 14, false}}});
    EXPECT_LT(flat.low, 14);
    EXPECT_GT(flat.high, 14);
    const GraphScale none = graphScale(GraphTrace{});
    EXPECT_LT(none.low, none.high);
    EXPECT_EQ(graphNumber(-0.0001), "0");
    EXPECT_EQ(graphNumber(1.23456), "1.235");
}

}  // namespace
}  // namespace corvan::ui
