// The live-data plug-in against the simulated box on the virtual clock, worked by
// technician scripts on the headless screen: the frames on the wire, the windows and what
// the technician reads in them.
#include "plugins/livedata/livedata.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "platform/device_root.h"
#include "platform/memory_port.h"
#include "platform/test_temp_dir.h"
#include "platform/text_codec.h"
#include "plugins/livedata/graph_dialogs.h"
#include "plugins/livedata/livedata_dialogs.h"
#include "plugins/livedata/recording_vag_decoder.h"
#include "sim/hex_pattern.h"
#include "sim/scenario_loader.h"
#include "sim/varbox.h"
#include "ui/headless_screen.h"

namespace corvan::livedata {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes hex(std::string_view text) {
    return sim::parseHexBytes(text, nullptr).value_or(Bytes{});
}

// A request frame as the wire carries it: the frame and its check byte.
Bytes wire(std::string_view frameHex) {
    Bytes f = hex(frameHex);
    uint8_t check = 0;
    for (uint8_t b : f) check ^= b;
    f.push_back(check);
    return f;
}

// The frames the runtime writes, each with the time it was written.
struct TimedFrames final : FrameObserver {
    explicit TimedFrames(const Clock& c) : clock(c) {}
    void frameSent(std::span<const uint8_t> f) override {
        sent.emplace_back(f.begin(), f.end());
        at.push_back(clock.nowUs());
    }
    void frameReceived(std::span<const uint8_t>, bool) override {}
    const Clock& clock;
    std::vector<Bytes> sent;
    std::vector<int64_t> at;
};

const std::string kEngineScenario = R"({"box": {"program": "running"},
  "ecus": [{"name": "engine", "model": "table", "config": {"rules": [
    {"request": "21 01", "reply": "61 01 0C 80 5A 8F"},
    {"request": "21 02", "reply": "61 02 80 04 C8"},
    {"request": "21 03", "reply": "61 03 AB CD"},
    {"request": "1A 80", "reply": "5A 80"},
    {"request": "3E", "reply": "7E"}]}}]})";

// Seven items on three requests, one of every generic kind.
const std::string kItems =
    "@D001\t[\"Engine speed\"]\t[2101]\t[2,3]\t[CAL *0.25;0]\t[\"rpm\"]\t[]\r\n"
    "@D002\t[\"Coolant\"]\t[2101]\t[4]\t[CAL -40;0]\t[\"ºC\"]\t[]\r\n"
    "@D003\t[\"Battery\"]\t[2101]\t[5]\t[CAL *0.1;1]\t[\"V\"]\t[]\r\n"
    "@D004\t[\"Idle switch\"]\t[2102]\t[2]\t[LOG 7]\t[\"ON\"/\"OFF\"]\t[]\r\n"
    "@D005\t[\"Gear\"]\t[2102]\t[3]\t[TBL GEARS]\t[]\t[]\r\n"
    "@D006\t[\"Fuel trim\"]\t[2102]\t[4]\t[CAL #*1|-256;0]\t[\"%\"]\t[]\r\n"
    "@D007\t[\"Status\"]\t[2103]\t[0]\t[HEX]\t[]\t[]\r\n";
// What those items show for the scenario's answers, worked out from the bytes.
const std::vector<std::string> kValues = {"800", "50", "14.3", "OFF", "4th", "-56", "6103ABCD"};

std::string menuItem(const std::string& items, const std::string& more = "") {
    return "#EXTENDED_INFORMATION\r\n\tFILE=\t[EDC16.TXT]\r\n#MENU\r\n<MNU\r\n\tTEXT=\t[\"Live "
           "data\"]\r\n\tDLL=\t[LIVEDATA.DLL]\r\n" +
           more + items + "ENDDATA\r\n>\r\nGEARS={N,1st,2nd,3rd,4th}\r\n#END\r\n";
}

class LiveDataTest : public ::testing::Test {
  protected:
    LiveDataTest() : root(dir.path()), frames(clock) {
        config("");
        root.setProgramPath("\\STORAGE CARD\\CORVANDATA\\EXE\\ECOR.EXE");
        host.clock = &clock;
        host.screen = &screen;
        host.root = &root;
        host.frames = &frames;
        screen.setRunawayHandler(
            [](const ui::RunReport& r) { throw std::runtime_error("runaway: " + r.text()); });
    }
    void config(const std::string& more) {
        std::filesystem::create_directories(dir.path() / "STORAGE CARD" / "CORVANDATA" / "VRF");
        std::ofstream(dir.path() / "STORAGE CARD" / "iCor.cfg")
            << "PATH=[STORAGE CARD\\CORVANDATA]\r\nLANGUAGE=[ENGLISH]\r\n"
            << more;
    }
    void recommended(const std::string& name, const std::string& content) {
        std::ofstream(dir.path() / "STORAGE CARD" / "CORVANDATA" / "VRF" / name) << content;
    }
    void boot(const std::string& json = kEngineScenario) {
        auto loaded = sim::loadScenarioText(json, "test");
        ASSERT_TRUE(loaded.ok()) << loaded.error;
        box = std::make_unique<sim::Varbox>(std::move(*loaded.scenario));
        port = std::make_unique<MemoryPort>(clock, *box);
        link.port = port.get();
        link.host = &host;
    }
    void script(const std::string& text) { ASSERT_EQ(screen.loadScript(text), ""); }
    std::string run(const std::string& text, const std::string& mode,
                    const VagDecoder* vag = nullptr) {
        ModuleContext ctx(link, 1, mode);
        const PluginCall call{text, findFrom(text, "<MNU"), mode, "EDC16"};
        return vag ? runLiveDataWith(ctx, call, *vag) : runLiveData(ctx, call);
    }
    static int findFrom(const std::string& text, const char* what) {
        const size_t at = text.find(what);
        return at == std::string::npos ? 0 : static_cast<int>(at);
    }
    const ui::DialogSnapshot& last(const char* name) {
        const ui::DialogSnapshot* s = screen.lastSnapshot(name);
        if (!s) throw std::runtime_error(std::string("no dialog ") + name);
        return *s;
    }
    std::vector<std::string> column(const ui::DialogSnapshot& s, size_t c) {
        std::vector<std::string> out;
        for (const ui::ListRow& r : s.control(kLiveListId)->rows) out.push_back(r.cells.at(c));
        return out;
    }
    std::vector<std::string> boxTexts() {
        std::vector<std::string> t;
        for (const auto& b : screen.messageBoxes()) t.push_back(b.text);
        return t;
    }

    corvan::testing::TempDir dir;
    DeviceRoot root;
    VirtualClock clock;
    ui::HeadlessScreen screen;
    TimedFrames frames;
    std::unique_ptr<sim::Varbox> box;
    std::unique_ptr<MemoryPort> port;
    HostServices host;
    VarboxLink link;
};

TEST_F(LiveDataTest, SilentRunPollsEveryItemOnceSharingAnswers) {
    boot();
    EXPECT_EQ(run(menuItem(kItems), "REPORT"), "");
    // Seven items on three requests: one exchange per request.
    EXPECT_EQ(frames.sent, (std::vector<Bytes>{wire("80 03 20 00 21 01"), wire("80 03 20 00 21 02"),
                                               wire("80 03 20 00 21 03")}));
    const ui::DialogSnapshot& s = last("LIVEDATA");
    EXPECT_FALSE(s.everShown);
    EXPECT_EQ(screen.lastSnapshot("LIVESELECT"), nullptr);
    EXPECT_EQ(screen.lastSnapshot("LIVEPREP"), nullptr);
    EXPECT_EQ(column(s, kValueColumn), kValues);
    EXPECT_EQ(column(s, kUnitColumn),
              (std::vector<std::string>{" rpm ", " ºC ", " V ", "---", "", " % ", ""}));
    EXPECT_EQ(s.control(kLiveBarId)->value, 100);
    EXPECT_TRUE(screen.messageBoxes().empty());
}

TEST_F(LiveDataTest, InteractiveCyclesAskEachRequestOncePerCycle) {
    config("SELECTALLINF=[TRUE]\r\n");
    boot();
    script("press \"OK\"\nafter 40 pumps press \"Exit\"\n");
    EXPECT_EQ(run(menuItem(kItems), "EXE"), "");
    const Bytes r1 = wire("80 03 20 00 21 01"), r2 = wire("80 03 20 00 21 02"),
                r3 = wire("80 03 20 00 21 03");
    ASSERT_GE(frames.sent.size(), 9u);  // several cycles
    for (size_t i = 0; i < frames.sent.size(); ++i)
        EXPECT_EQ(frames.sent[i], (i % 3 == 0 ? r1 : i % 3 == 1 ? r2 : r3)) << i;
    const ui::DialogSnapshot& s = last("LIVEDATA");
    EXPECT_TRUE(s.everShown);
    EXPECT_EQ(s.title, "ITEMS LIST: EDC16");
    EXPECT_EQ(column(s, kValueColumn), kValues);
    const auto& cols = s.control(kLiveListId)->columns;
    ASSERT_EQ(cols.size(), 5u);
    EXPECT_EQ(cols[1].heading, "DESCRIPTION");
    EXPECT_EQ(cols[2].heading, "MIN-MAX");
    EXPECT_EQ(cols[3].heading, "CURRENT VALUE");
    EXPECT_EQ(cols[4].heading, "UNIT");
    std::vector<int> widths;
    for (const auto& c : cols) widths.push_back(c.width);
    EXPECT_EQ(widths, (std::vector<int>{0, 170, 0, 65, 50}));
    EXPECT_EQ(s.control(kTablesHeadingId)->text, "Recommended values");
    EXPECT_EQ(s.control(kHelpTextId)->text, "For further information select desired item");
    EXPECT_TRUE(s.control(kTablesId)->items.empty());  // no recommended-values file
    EXPECT_EQ(column(s, kRangeColumn), std::vector<std::string>(7, ""));
    EXPECT_TRUE(screen.report().clean()) << screen.report().text();
}

TEST_F(LiveDataTest, ThreePartRequestsSendPreMainAndPost) {
    boot();
    run(menuItem("@D001\t[\"A\"]\t[@@2101@3E]\t[2]\t[HEX]\t[]\t[]\r\n"
                 "@D002\t[\"B\"]\t[@1A80@2102@]\t[2]\t[HEX]\t[]\t[]\r\n"),
        "REPORT");
    // An empty pre part sends only main and post; an empty post part only pre and main.
    EXPECT_EQ(frames.sent,
              (std::vector<Bytes>{wire("80 03 20 00 21 01"), wire("80 02 20 00 3E"),
                                  wire("80 03 20 00 1A 80"), wire("80 03 20 00 21 02")}));
    EXPECT_EQ(column(last("LIVEDATA"), kValueColumn),
              (std::vector<std::string>{"61010C805A8F", "61028004C8"}));  // main's answers
}

const std::string kVagScenario = R"({"box": {"program": "running"},
  "ecus": [{"name": "kw1281", "model": "table", "config": {"rules": [
    {"request": "04 00 29 01", "replies": ["0F 01 02 01 0A 00 02 14 00",
                                           "0F 02 02 01 0A 00 02 14 00", "06 03 F4 20 40"]},
    {"request": "04 00 29 02", "reply": "0F 05 E7 01 C8 10 05 03 07 10 20 30 40 50 60 70"},
    {"request": "03 00 09", "reply": "03 04 09"},
    {"request": "04 00 29 03", "replies": ["0F 01 02 01 0A 00", "silence"]},
    {"request": "04 00 29 04", "replies": ["0F 01 02 01 0A 00", "0F 02 02 01 0A 00", "silence"]},
    {"request": "22 01", "reply": "22 01 11 22 33 44 55 66 77 88 99 AA BB CC DD EE"}]}}]})";

TEST_F(LiveDataTest, DynamicVagGroupReadsItsHeaderThroughTheKeepAlive) {
    boot(kVagScenario);
    const testing::RecordingVagDecoder decoder;
    run(menuItem("@D001\t[\"Speed\"]\t[04002901]\t[0]\t[VAG]\t[]\t[]\r\n"
                 "@D002\t[\"Load\"]\t[04002901]\t[1]\t[VAG]\t[]\t[]\r\n"),
        "REPORT", &decoder);
    const Bytes main = wire("80 05 20 00 04 00 29 01");
    const std::vector<Bytes> expected = {
        main,                             // title 0x02: a dynamic group
        wire("80 05 86 00 04 00 29 00"),  // maintenance stop
        wire("80 04 20 00 03 00 09"),     // acknowledge
        main,                             // the header block
        wire("80 05 86 01 04 00 29 01"),  // maintenance start, group 1
        main,                             // the data block
        wire("80 04 86 01 03 00 09"),     // maintenance acknowledge
        wire("80 04 20 00 03 00 09"),     // acknowledge
        main,  // the second item: data blocks (title 0xF4) are never shared
    };
    EXPECT_EQ(frames.sent, expected);
    // Maintenance frames wait 200 ms before they go; the others go at once.
    for (size_t i = 1; i < frames.at.size(); ++i) {
        const bool maintenance = frames.sent[i][2] == 0x86;
        EXPECT_EQ(frames.at[i] - frames.at[i - 1] >= 200000, maintenance) << i;
    }
    const ui::DialogSnapshot& s = last("LIVEDATA");
    EXPECT_EQ(column(s, kValueColumn),
              (std::vector<std::string>{"D0:0603F42040:9", "D1:0603F42040:9"}));
    EXPECT_EQ(column(s, kUnitColumn), (std::vector<std::string>{"rpm", "rpm"}));
}

TEST_F(LiveDataTest, DynamicGroupWithoutHeaderOrDataLosesTheLink) {
    boot(kVagScenario);
    const std::string linkError =
        "VarBox link error\nIf problem persist, close and open again the application";
    // The header block does not come: four attempts, the technician declines, the end.
    run(menuItem("@D001\t[\"A\"]\t[04002903]\t[0]\t[VAG]\t[]\t[]\r\n"), "REPORT");
    EXPECT_EQ(frames.sent.size(), 3u + 4u);
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"No response from VarBox\nRETRY?", linkError}));
    // The data block does not come after the header.
    frames.sent.clear();
    run(menuItem("@D001\t[\"A\"]\t[04002904]\t[0]\t[VAG]\t[]\t[]\r\n"), "REPORT");
    EXPECT_EQ(frames.sent.size(), 5u + 4u);
    EXPECT_EQ(frames.sent.back(), wire("80 05 20 00 04 00 29 04"));
    EXPECT_EQ(boxTexts().back(), linkError);
}

TEST_F(LiveDataTest, FixedVagAndCanGroupsThroughTheFormulaTables) {
    boot(kVagScenario);
    const testing::RecordingVagDecoder decoder;
    const std::string items =
        "@D001\t[\"Group 2\"]\t[04002902]\t[1]\t[VAG]\t[\"x\"]\t[]\r\n"
        "@D002\t[\"CAN 1\"]\t[2201]\t[2]\t[VAGCAN]\t[\"x\"]\t[]\r\n"
        "@D003\t[\"CAN 2\"]\t[2201]\t[3]\t[VAGCAN]\t[\"x\"]\t[]\r\n";
    run(menuItem(items), "REPORT", &decoder);
    const std::string group = "0F05E701C81005030710203040506070";
    const std::string can =
        "00220111223344556677889"
        "9AABBCCDDEE";
    EXPECT_EQ(column(last("LIVEDATA"), kValueColumn),
              (std::vector<std::string>{"F1:" + group, "F2:" + can, "F3:" + can}));
    // The CAN group is asked once; each CAN item is followed by a 200 ms pause.
    ASSERT_EQ(frames.sent.size(), 2u);
    const int64_t before = clock.nowUs();
    // The plug-in's own decoder, the formula tables: group 2's field 1 is formula 5 with
    // a = 3, b = 7 (3 * 7 / 10 - 10 * 3 = -28 ºC); the CAN fields have formulas 0x77 and
    // 0xAA, which have no row: their bytes and the formula number are shown.
    run(menuItem(items), "REPORT");
    EXPECT_GE(clock.nowUs() - before, 2 * 200000);
    const ui::DialogSnapshot& s = last("LIVEDATA");
    EXPECT_EQ(column(s, kValueColumn),
              (std::vector<std::string>{"-28", "Factor: 88, Valor: 99", "Factor: BB, Valor: CC"}));
    EXPECT_EQ(column(s, kUnitColumn), (std::vector<std::string>{"ºC", "?: 119", "?: 170"}));
}

TEST_F(LiveDataTest, SelectionWithQuickChoicesAndGroups) {
    boot();
    script(
        "choose \"NONE\" in #1001\n"
        "press \"OK\"\n"
        "answer \"AT LEAST ONE ITEM MUST BE SELECTED\" Ok\n"
        "choose \"ALL\" in #1001\n"
        "dump\n"
        "choose \"Temperatures\" in #1001\n"
        "tap row 0 in #1000\n"
        "press \"OK\"\n"
        "after 10 pumps when title \"ITEMS LIST\" press \"Exit\"\n");
    const std::string select =
        "SELECT=\t[\"Temperatures\"]\t[D002]\t[D009]\r\n@\t[\"Electrics\"]\t[D003]"
        "\r\nENDSELECT\r\n";
    EXPECT_EQ(run(menuItem(kItems, select), "EXE"), "");
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"AT LEAST ONE ITEM MUST BE SELECTED"}));
    const auto& snaps = screen.snapshots();
    const auto afterAll = std::find_if(snaps.begin(), snaps.end(), [](const auto& s) {
        return s.name == "LIVESELECT" && s.reason == "script";
    });
    ASSERT_NE(afterAll, snaps.end());
    EXPECT_EQ(afterAll->title, "SELECTED ITEMS: 7");
    EXPECT_EQ(afterAll->control(kQuickSelectionId)->currentItem, 0);  // back to MANUAL
    EXPECT_EQ(afterAll->control(kQuickSelectionId)->items,
              (std::vector<std::string>{"MANUAL", "ALL", "NONE", "Temperatures", "Electrics"}));
    for (const ui::ListRow& r : afterAll->control(kSelectionListId)->rows)
        EXPECT_EQ(r.cells[0], "       -->    ");
    const ui::DialogSnapshot& sel = last("LIVESELECT");
    EXPECT_EQ(sel.title, "SELECTED ITEMS: 2");  // the group's D002 and the tapped D001
    const auto& cols = sel.control(kSelectionListId)->columns;
    EXPECT_EQ(cols[0].heading, "Selection");
    EXPECT_EQ(cols[1].width, 0);
    EXPECT_EQ(cols[2].heading, "Items");
    EXPECT_EQ(column(last("LIVEDATA"), kKeyColumn), (std::vector<std::string>{"D001", "D002"}));
    EXPECT_EQ(column(last("LIVEDATA"), kDescriptionColumn),
              (std::vector<std::string>{" Engine speed ", " Coolant "}));
    ASSERT_FALSE(frames.sent.empty());
    for (const Bytes& f : frames.sent) EXPECT_EQ(f, wire("80 03 20 00 21 01"));
    EXPECT_TRUE(screen.report().clean()) << screen.report().text();
}

TEST_F(LiveDataTest, InitialMarksAndLeavingTheSelection) {
    config("SELECTALLINF=[TRUE]\r\n");
    boot();
    script("tap row 1 in #1000\ndump\npress \"Exit\"\n");
    EXPECT_EQ(run(menuItem(kItems), "EXE"), "");
    const auto& s = screen.snapshots();
    const auto dumped =
        std::find_if(s.begin(), s.end(), [](const auto& d) { return d.reason == "script"; });
    ASSERT_NE(dumped, s.end());
    EXPECT_EQ(dumped->title, "SELECTED ITEMS: 6");
    const auto& rows = dumped->control(kSelectionListId)->rows;
    EXPECT_EQ(rows[0].cells[0], "       -->   ");
    EXPECT_EQ(rows[1].cells[0], "");
    EXPECT_EQ(screen.lastSnapshot("LIVEDATA"), nullptr);  // left before the list
    EXPECT_TRUE(frames.sent.empty());
    const ui::DialogSnapshot& prep = last("LIVEPREP");
    EXPECT_EQ(prep.title, "dUvad");
    EXPECT_TRUE(prep.everShown);
    const ui::ControlState* bar = prep.control(kPreparationBarId);
    EXPECT_EQ(bar->low, 0);
    EXPECT_EQ(bar->high, 100);
    EXPECT_EQ(bar->value, 100);
}

TEST_F(LiveDataTest, DemonstrationSendsNothing) {
    boot();
    script("press \"OK\"\nafter 30 pumps press \"Exit\"\n");
    config("SELECTALLINF=[TRUE]\r\n");
    EXPECT_EQ(
        run(menuItem(kItems + "@D008\t[\"Block\"]\t[04002901]\t[0]\t[VAG]\t[]\t[]\r\n"), "DEMO"),
        "");
    EXPECT_TRUE(port->written().empty());
    const std::vector<std::string> values = column(last("LIVEDATA"), kValueColumn);
    ASSERT_EQ(values.size(), 8u);
    EXPECT_TRUE(values[3] == "ON" || values[3] == "OFF") << values[3];
    EXPECT_EQ(values[6].size(), 200u);  // the random answer itself
    EXPECT_EQ(values[7].size(), 200u);  // VAG items too are decoded by the generic rules
    EXPECT_EQ(values[6].find_first_not_of("0123456789ABCDEF"), std::string::npos);
}

TEST_F(LiveDataTest, RecommendedRangesBesideTheirItems) {
    config("SELECTALLINF=[TRUE]\r\n");
    recommended("TEST.VRF",
                "\"IDLE\"\r\n@D001\t[780-880]\r\n@D003\t[12.5-14.0]\r\nENDDATA\r\n"
                "\"LOAD\"\r\n@D001\t[2400-2600]\r\nENDDATA\r\n");
    boot();
    script(
        "press \"OK\"\n"
        "when title \"ITEMS LIST\" tap row 2 in #1006\n"
        "after 10 pumps dump\n"
        "choose \"LOAD\" in #1004\n"
        "after 10 pumps press \"Exit\"\n");
    run(menuItem(kItems, "\tVRF=\t[test.vrf]\r\n"), "EXE");
    const auto& s = screen.snapshots();
    const auto idle =
        std::find_if(s.begin(), s.end(), [](const auto& d) { return d.reason == "script"; });
    ASSERT_NE(idle, s.end());
    EXPECT_EQ(idle->control(kTablesId)->items, (std::vector<std::string>{"IDLE", "LOAD"}));
    EXPECT_EQ(idle->control(kTablesId)->currentItem, 0);
    EXPECT_EQ(column(*idle, kRangeColumn),
              (std::vector<std::string>{"780-880", "", "12.5-14.0", "", "", "", ""}));
    // 14.3 V lies above its range: marked; 800 rpm inside: not.
    EXPECT_EQ(column(*idle, kValueColumn)[2], "14.3 \u25B2");
    EXPECT_EQ(column(*idle, kValueColumn)[0], "800");
    EXPECT_EQ(idle->control(kHelpTextId)->text, "Battery\n\rRECOMMENDED: 12.5-14.0");
    EXPECT_EQ(idle->control(kValueDisplayId)->text, "14.3 V");
    const ui::DialogSnapshot& load = last("LIVEDATA");
    EXPECT_EQ(column(load, kRangeColumn),
              (std::vector<std::string>{"2400-2600", "", "", "", "", "", ""}));
    EXPECT_EQ(column(load, kValueColumn)[0], "800 \u25BC");
    EXPECT_EQ(column(load, kValueColumn)[2], "14.3");
    EXPECT_EQ(load.control(kHelpTextId)->text, "Battery\n\rRECOMMENDED: ");
}

TEST_F(LiveDataTest, LargeDisplayShowsShortUnitsOnly) {
    config("SELECTALLINF=[TRUE]\r\n");
    boot();
    script(
        "press \"OK\"\nwhen title \"ITEMS LIST\" tap row 3 in #1006\nafter 10 pumps dump\n"
        "tap row 4 in #1006\nafter 10 pumps dump\ntap row 1 in #1006\nafter 10 pumps dump\n"
        "tap row 7 in #1006\nafter 10 pumps dump\ntap row 8 in #1006\nafter 10 pumps dump\n"
        "press \"Exit\"\n");
    run(menuItem(kItems + "@D008\t[\"Fuel\"]\t[2103]\t[2]\t[CAL *1;0]\t[\"mg/stroke\"]\t[]\r\n"
                          "@D009\t[\"Rate\"]\t[2103]\t[3]\t[CAL *1;0]\t[\"ºC/min\"]\t[]\r\n"),
        "EXE");
    std::vector<std::string> shown;
    for (const auto& d : screen.snapshots())
        if (d.reason == "script") shown.push_back(d.control(kValueDisplayId)->text);
    // A bit's state texts are no unit; an empty unit counts as one blank; units are counted
    // in characters: nine are too many, "ºC/min" is six.
    EXPECT_EQ(shown, (std::vector<std::string>{"OFF", "4th  ", "50 ºC", "171", "205 ºC/min"}));
}

TEST_F(LiveDataTest, LinkFailureEndsThePlugIn) {
    config("SELECTALLINF=[TRUE]\r\n");
    boot(R"({"box": {"program": "running"}, "ecus": [{"model": "table", "config": {"rules": [
        {"request": "21 01", "silence": true}]}}]})");
    script("press \"OK\"\n");
    EXPECT_EQ(run(menuItem(kItems), "EXE"), "");
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{
                              "No response from VarBox\nRETRY?",
                              "VarBox link error\nIf problem persist, close and open again the "
                              "application"}));
    EXPECT_EQ(frames.sent.size(), 4u);  // four attempts, then the technician declined
}

TEST_F(LiveDataTest, BadInstallationAndDataGetMessages) {
    boot();
    // No items at all.
    EXPECT_EQ(run(menuItem(""), "EXE"), "");
    EXPECT_EQ(boxTexts(), (std::vector<std::string>{"This function has no live data items"}));
    EXPECT_EQ(screen.lastSnapshot("LIVESELECT"), nullptr);

    // A configuration file that cannot be read and a recommended-values file without items.
    std::filesystem::remove(dir.path() / "STORAGE CARD" / "iCor.cfg");
    recommended("BAD.VRF", "\"A\" @D001 [1-2] ENDDATA \"B\" nothing");
    run(menuItem(kItems, "\tVRF=\t[BAD.VRF]\r\n"), "REPORT");
    EXPECT_EQ(boxTexts().back(), "Can´t open configuration file c:iCor.cfg");
    EXPECT_TRUE(last("LIVEDATA").control(kTablesId)->items.empty());  // no PATH=: no file

    config("");
    run(menuItem(kItems, "\tVRF=\t[BAD.VRF]\r\n"), "REPORT");
    EXPECT_EQ(boxTexts().back(), "Invalid recommended values file format");
    EXPECT_EQ(last("LIVEDATA").control(kTablesId)->items, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(column(last("LIVEDATA"), kRangeColumn)[0], "1-2");

    // A file beyond what the terminal can hold.
    recommended("HUGE.VRF", "\"A\" @D001 [1-2] ENDDATA" + std::string(8u << 20, ' '));
    run(menuItem(kItems, "\tVRF=\t[HUGE.VRF]\r\n"), "REPORT");
    EXPECT_EQ(boxTexts().back(), "Insufficient memory.\nClose other programs to free memory");
    EXPECT_TRUE(last("LIVEDATA").control(kTablesId)->items.empty());

    // An empty file is no file.
    recommended("EMPTY.VRF", "");
    const size_t boxes = screen.messageBoxes().size();
    run(menuItem(kItems, "\tVRF=\t[EMPTY.VRF]\r\n"), "REPORT");
    EXPECT_EQ(screen.messageBoxes().size(), boxes);

    // More items than the list holds.
    std::string many;
    for (int n = 1; n <= 301; ++n)
        many +=
            "@D" + std::to_string(1000 + n).substr(1) + "\t[\"x\"]\t[2101]\t[2]\t[HEX]\t[]\t[]\r\n";
    script("answer \"299\" Ok\npress \"Exit\"\n");
    run(menuItem(many), "EXE");
    EXPECT_EQ(boxTexts().back(), "Only the first 299 items of this function can be shown");
    EXPECT_EQ(last("LIVESELECT").control(kSelectionListId)->rows.size(), 299u);
}

// The recording, the graph and the trigger capture, which the configuration turns on.
class LiveGraphTest : public LiveDataTest {
  protected:
    LiveGraphTest() {
        config("LIVEGRAPH=[TRUE]\r\n");
        recommended("EDC16.VRF", "\"IDLE\"\r\n@D001\t[780-880]\r\nENDDATA\r\n");
    }
    // The engine's speed answers, each after 100 ms: `speeds` in turn (rpm), then the last
    // one for ever or all over again.
    static std::string speedScenario(const std::vector<int>& speeds, const char* then) {
        std::string replies;
        for (int rpm : speeds) {
            char hex[40];
            std::snprintf(hex, sizeof hex, "\"61 01 %02X %02X 5A 8F\"", (rpm * 4) >> 8,
                          (rpm * 4) & 0xFF);
            replies += (replies.empty() ? "" : ", ") + std::string(hex);
        }
        return R"({"box": {"program": "running"}, "ecus": [{"name": "engine", "model": "table",
          "config": {"delayMs": 100, "rules": [{"request": "21 01", "replies": [)" +
               replies + R"(], "then": ")" + then + R"("}]}}]})";
    }
    // The files live data saved, by name, as UTF-8 lines.
    std::map<std::string, std::vector<std::string>> saved() {
        std::map<std::string, std::vector<std::string>> files;
        const auto folder = dir.path() / "STORAGE CARD" / "CORVANDATA" / "LIVEDATA";
        if (!std::filesystem::exists(folder)) return files;
        for (const auto& e : std::filesystem::directory_iterator(folder)) {
            std::ifstream in(e.path(), std::ios::binary);
            const std::string text =
                cp1252ToUtf8(std::string(std::istreambuf_iterator<char>(in), {}));
            auto& lines = files[e.path().filename().string()];
            for (size_t p = 0, end; (end = text.find("\r\n", p)) != std::string::npos; p = end + 2)
                lines.push_back(text.substr(p, end - p));
        }
        return files;
    }
    size_t sentCount(const Bytes& frame) {
        return static_cast<size_t>(std::count(frames.sent.begin(), frames.sent.end(), frame));
    }
    const std::string kTwoItems = menuItem(
        "@D001\t[\"Engine speed\"]\t[2101]\t[2,3]\t[CAL *0.25;0]\t[\"rpm\"]\t[]\r\n"
        "@D002\t[\"Coolant\"]\t[2101]\t[4]\t[CAL -40;0]\t[\"ºC\"]\t[]\r\n",
        "\tVRF=\t[EDC16.VRF]\r\n");
};

TEST_F(LiveGraphTest, OffByDefaultTheListHasNoGraphButton) {
    config("SELECTALLINF=[TRUE]\r\n");
    boot(speedScenario({800}, "last"));
    script("press \"OK\"\nafter 10 pumps press \"Exit\"\n");
    run(kTwoItems, "EXE");
    EXPECT_EQ(last("LIVEDATA").control(kGraphButtonId), nullptr);
    EXPECT_EQ(screen.lastSnapshot("LIVEGRAPH"), nullptr);
    EXPECT_TRUE(saved().empty());
}

TEST_F(LiveGraphTest, TheGraphPausesShowsTheBandAndSavesEveryCycleAsCsv) {
    boot(speedScenario({800, 812, 950, 760}, "cycle"));
    script(
        "tap \"Engine speed\" in #1000\ntap \"Coolant\" in #1000\npress \"OK\"\n"
        "after 30 pumps when title \"ITEMS LIST\" press \"Graph\"\n"
        "after 30 pumps when title \"GRAPH\" choose \"Coolant\" in #1102\n"
        "press \"Pause\"\n"
        "after 20 pumps dump\n"
        "press \"CSV\"\n"
        "answer \"Saved to\" Ok\n"
        "press \"Exit\"\n"
        "after 10 pumps when title \"ITEMS LIST\" press \"Exit\"\n");
    std::ostringstream dump;
    screen.setDumpStream(dump);
    EXPECT_EQ(run(kTwoItems, "EXE"), "");
    EXPECT_TRUE(screen.report().clean()) << screen.report().text();

    // The list went on polling behind the graph and came back (its last rule found it); the
    // frames are the plain requests, nothing more.
    EXPECT_EQ(last("LIVEDATA").control(kGraphButtonId)->text, "Graph");
    const Bytes request = wire("80 03 20 00 21 01");
    EXPECT_EQ(sentCount(request), frames.sent.size());

    const std::string text = dump.str();
    const size_t graph = text.find("dialog LIVEGRAPH script");
    ASSERT_NE(graph, std::string::npos) << text;
    const std::string shown = text.substr(graph, text.find("\nend\n", graph) - graph);
    EXPECT_NE(shown.find("title \"GRAPH: EDC16\""), std::string::npos) << shown;
    EXPECT_NE(shown.find("button #1111 \"Run\""), std::string::npos) << shown;
    EXPECT_NE(shown.find("note \"PAUSED\""), std::string::npos) << shown;
    EXPECT_NE(shown.find("trace 0 \"Engine speed\" unit \"rpm\" band 780..880 points "),
              std::string::npos)
        << shown;
    EXPECT_NE(shown.find("trace 1 \"Coolant\" unit \"ºC\" points "), std::string::npos) << shown;
    // 950 lies above the band and 760 below it: both are marked, 800 and 812 are not.
    EXPECT_NE(shown.find(":950*"), std::string::npos) << shown;
    EXPECT_NE(shown.find(":760*"), std::string::npos) << shown;
    EXPECT_EQ(shown.find(":800*"), std::string::npos) << shown;
    EXPECT_NE(shown.find(":812 "), std::string::npos) << shown;

    const auto files = saved();
    ASSERT_EQ(files.size(), 1u);
    const std::string name = files.begin()->first;
    EXPECT_TRUE(name.starts_with("LIVE_2007") && name.ends_with(".CSV")) << name;
    EXPECT_EQ(boxTexts().back(), "Saved to\nSTORAGE CARD\\CORVANDATA\\LIVEDATA\\" + name);
    const auto& lines = files.begin()->second;
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0], "Time (s);D001 Engine speed (rpm);D002 Coolant (ºC)");
    // Time 0 is the start of the first cycle; its first reading comes with the answer.
    EXPECT_LT(std::stod(lines[1]), 0.5) << lines[1];
    // One line per cycle up to the save, the speeds in the box's order, times rising; the
    // cycle under way at the save may lack its coolant yet.
    const std::vector<std::string> speeds = {"800", "812", "950", "760"};
    double previous = -1;
    for (size_t i = 1; i < lines.size(); ++i) {
        const size_t a = lines[i].find(';'), b = lines[i].find(';', a + 1);
        EXPECT_EQ(lines[i].substr(a + 1, b - a - 1), speeds[(i - 1) % 4]) << lines[i];
        if (i + 1 < lines.size()) {
            EXPECT_EQ(lines[i].substr(b + 1), "50") << lines[i];
        }
        const double t = std::stod(lines[i].substr(0, a));
        EXPECT_GT(t, previous);
        previous = t;
    }
    EXPECT_LT(lines.size() - 1, sentCount(request));  // polling went on after the save
}

TEST_F(LiveGraphTest, ATriggerCaptureKeepsTheSecondsBeforeAndAfterItsReading) {
    // Forty readings at 800 rpm, one at 950, then 800 again.
    std::vector<int> speeds(40, 800);
    speeds.push_back(950);
    speeds.push_back(800);
    boot(speedScenario(speeds, "last"));
    script(
        "tap \"Engine speed\" in #1000\npress \"OK\"\n"
        "after 4 pumps when title \"ITEMS LIST\" press \"Graph\"\n"
        "when title \"GRAPH\" press \"Trigger\"\n"
        "when title \"TRIGGER\" choose \"Above\" in #1204\n"
        "type \"x\" into #1206\n"
        "press \"Arm\"\n"
        "answer \"threshold must be a number\" Ok\n"
        "type \"900\" into #1206\n"
        "type \"2\" into #1208\n"
        "type \"3\" into #1210\n"
        "press \"Arm\"\n"
        "answer \"Capture saved to\" Ok\n"
        "dump\n"
        "press \"Exit\"\n"
        "after 4 pumps press \"Exit\"\n");
    std::ostringstream dump;
    screen.setDumpStream(dump);
    run(kTwoItems, "EXE");
    EXPECT_TRUE(screen.report().clean()) << screen.report().text();

    const auto files = saved();
    ASSERT_EQ(files.size(), 1u);
    const std::string name = files.begin()->first;
    EXPECT_TRUE(name.starts_with("CAPT_")) << name;
    const auto& lines = files.begin()->second;
    EXPECT_EQ(lines[0], "Time (s);D001 Engine speed (rpm)");
    size_t trigger = 0;
    for (size_t i = 1; i < lines.size(); ++i) {
        const double t = std::stod(lines[i].substr(0, lines[i].find(';')));
        EXPECT_GE(t, -2.0) << lines[i];
        EXPECT_LE(t, 3.0) << lines[i];
        if (lines[i] == "0.000;950")
            trigger = i;
        else
            EXPECT_TRUE(lines[i].ends_with(";800")) << lines[i];
    }
    // Readings of the two seconds before the one above 900 are kept, and of the three after.
    ASSERT_GT(trigger, 1u);
    EXPECT_LT(std::stod(lines[1]), -1.5);
    EXPECT_GT(std::stod(lines.back()), 2.5);

    // After the capture the graph stands paused on it, its trigger marked.
    const std::string text = dump.str();
    const size_t graph = text.find("dialog LIVEGRAPH script");
    ASSERT_NE(graph, std::string::npos) << text;
    const std::string shown = text.substr(graph, text.find("\nend\n", graph) - graph);
    EXPECT_NE(shown.find("note \"PAUSED\""), std::string::npos) << shown;
    EXPECT_NE(shown.find("marker "), std::string::npos) << shown;
    EXPECT_NE(shown.find(":950*"), std::string::npos) << shown;
}

}  // namespace
}  // namespace corvan::livedata
