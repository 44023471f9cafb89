// The recording behind the graph on the virtual clock: rings that keep the last readings and
// wrap, the trigger capture that keeps the seconds before its trigger, the CSV text and the
// graph's window.
#include "plugins/livedata/live_recording.h"

#include <gtest/gtest.h>

#include <cmath>

#include "plugins/livedata/live_csv.h"
#include "plugins/livedata/live_graph.h"
#include "plugins/livedata/trigger_capture.h"

namespace corvan::livedata {
namespace {

// Two items read every `stepMs`, one cycle each: engine speed (780-880) and a state text.
struct Session {
    explicit Session(size_t capacity = LiveRecording::kReadingsPerItem) : rec(capacity) {
        rec.addItem("D001", "Engine speed", "rpm");
        rec.addItem("D009", "Idle switch", "");
        rec.setRange(0, rangeLimits("780-880"));
    }
    // One cycle at `ms`; returns whether a reading completed the capture.
    bool cycle(int64_t ms, const std::string& speed, const std::string& state = "ON") {
        rec.beginCycle(ms);
        bool complete = capture.observe(rec, 0, rec.record(0, ms, speed));
        complete |= capture.observe(rec, 1, rec.record(1, ms + 40, state));
        return complete;
    }
    LiveRecording rec;
    TriggerCapture capture;
};

std::vector<int64_t> times(const std::vector<Sample>& s) {
    std::vector<int64_t> t;
    for (const Sample& x : s) t.push_back(x.ms);
    return t;
}

TEST(SampleRing, KeepsTheNewestReadingsInOrderOnceItWraps) {
    SampleRing ring(4);
    for (int i = 1; i <= 6; ++i) ring.push({i * 100, static_cast<uint32_t>(i), double(i), ""});
    ASSERT_EQ(ring.size(), 4u);
    EXPECT_EQ(ring.at(0).ms, 300);
    EXPECT_EQ(ring.newest().ms, 600);
    EXPECT_EQ(times(ring.between(400, 500)), (std::vector<int64_t>{400, 500}));
    // Ten more turns: still the capacity, still in order.
    for (int i = 7; i <= 16; ++i) ring.push({i * 100, static_cast<uint32_t>(i), double(i), ""});
    EXPECT_EQ(times(ring.between(0, 10'000)), (std::vector<int64_t>{1300, 1400, 1500, 1600}));
}

TEST(LiveRecording, ReadingsCarryTheirNumberCycleAndTimeSpan) {
    Session s(3);
    for (int i = 0; i < 5; ++i) s.cycle(1000 + i * 500, std::to_string(800 + i), "OFF");
    const RecordedItem& speed = s.rec.items()[0];
    EXPECT_EQ(speed.ring.size(), 3u);
    EXPECT_EQ(speed.ring.at(0).cycle, 3u);
    EXPECT_EQ(speed.ring.newest().value, 804);
    EXPECT_TRUE(std::isnan(s.rec.items()[1].ring.newest().value));  // "OFF" is no number
    EXPECT_EQ(s.rec.originMs(), 1000);
    EXPECT_EQ(s.rec.oldestMs(), 2000);
    EXPECT_EQ(s.rec.newestMs(), 3040);
    EXPECT_TRUE(outsideRange(speed, {0, 0, 881, "881"}));
    EXPECT_FALSE(outsideRange(speed, {0, 0, 880, "880"}));  // both limits lie inside
    EXPECT_FALSE(outsideRange(speed, {0, 0, 780, "780"}));
    EXPECT_TRUE(outsideRange(speed, {0, 0, 779.9, "779.9"}));
    EXPECT_FALSE(outsideRange(s.rec.items()[1], {0, 0, 1e9, "1e9"}));  // no range
}

TEST(TriggerRule, ConditionsAndTextsThatAreNoNumber) {
    TriggerRule above{0, TriggerCondition::Above, 100, {}, 1000, 1000};
    EXPECT_TRUE(triggers(above, 100.5));
    EXPECT_FALSE(triggers(above, 100));
    TriggerRule below{0, TriggerCondition::Below, 100, {}, 1000, 1000};
    EXPECT_TRUE(triggers(below, 99));
    EXPECT_FALSE(triggers(below, 100));
    TriggerRule outside{0, TriggerCondition::OutsideRange, 0, {780, 880}, 1000, 1000};
    EXPECT_TRUE(triggers(outside, 779));
    EXPECT_TRUE(triggers(outside, 881));
    EXPECT_FALSE(triggers(outside, 880));
    EXPECT_FALSE(triggers(above, std::nan("")));
}

TEST(TriggerCapture, KeepsTheSecondsBeforeAndCollectsTheSecondsAfter) {
    Session s;
    s.capture.arm({0, TriggerCondition::OutsideRange, 0, {780, 880}, 3000, 2000});
    // Readings every 500 ms; speed leaves its range at 10 s.
    bool complete = false;
    int64_t completedAt = -1;
    for (int64_t ms = 0; ms <= 20'000 && !complete; ms += 500) {
        complete = s.cycle(ms, ms == 10'000 ? "950" : "820");
        if (complete) completedAt = ms;
    }
    ASSERT_TRUE(complete);
    EXPECT_EQ(s.capture.state(), TriggerCapture::State::Complete);
    EXPECT_EQ(s.capture.triggerMs(), 10'000);
    EXPECT_EQ(completedAt, 12'000);  // its second reading, at 12.04 s, is past 12 s
    const auto& speed = s.capture.readings()[0];
    ASSERT_FALSE(speed.empty());
    EXPECT_EQ(speed.front().ms, 7000);
    EXPECT_EQ(speed.back().ms, 12'000);
    EXPECT_EQ(speed.size(), 11u);
    // The other item's readings of the same seconds; the one read after the trigger in the
    // same cycle is there too, the one past the end is not.
    const auto& state = s.capture.readings()[1];
    EXPECT_EQ(state.front().ms, 7040);
    EXPECT_EQ(state.back().ms, 11'540);
    EXPECT_EQ(state.size(), 10u);
    // Nothing more is taken once complete.
    EXPECT_FALSE(s.cycle(13'000, "990"));
    EXPECT_EQ(s.capture.readings()[0].size(), 11u);
}

TEST(TriggerCapture, TheSecondsBeforeSurviveTheRingWrappingAfterTheTrigger) {
    // Rings of 8 readings: by the end of the seconds after, the ring no longer holds the
    // seconds before, the capture still does.
    Session s(8);
    s.capture.arm({0, TriggerCondition::Above, 900, {}, 2000, 5000});
    bool complete = false;
    for (int64_t ms = 0; ms <= 20'000 && !complete; ms += 500)
        complete = s.cycle(ms, ms == 4000 ? "901" : "850");
    ASSERT_TRUE(complete);
    EXPECT_GT(s.rec.items()[0].ring.at(0).ms, 2000);
    const auto& speed = s.capture.readings()[0];
    EXPECT_EQ(speed.front().ms, 2000);
    EXPECT_EQ(speed.back().ms, 9000);
    EXPECT_EQ(speed.size(), 15u);
}

TEST(TriggerCapture, WaitsForItsOwnItemAndCanBeDisarmed) {
    Session s;
    s.capture.arm({1, TriggerCondition::Below, 5, {}, 1000, 1000});
    s.cycle(0, "0");  // item 0 below 5 does not count; "ON" is no number
    EXPECT_EQ(s.capture.state(), TriggerCapture::State::Armed);
    s.capture.disarm();
    s.cycle(500, "0", "3");
    EXPECT_EQ(s.capture.state(), TriggerCapture::State::Idle);
    s.capture.arm({1, TriggerCondition::Below, 5, {}, 1000, 1000});
    s.cycle(1000, "0", "3");
    EXPECT_EQ(s.capture.state(), TriggerCapture::State::Collecting);
    EXPECT_EQ(s.capture.triggerMs(), 1040);
}

TEST(LiveCsv, OneLinePerCycleWithHeadingsTimesAndQuotedFields) {
    Session s;
    s.cycle(1000, "800");
    s.cycle(1750, "812", "O;N");
    s.rec.beginCycle(2500);
    s.rec.record(1, 2500, "OFF");  // the speed was not read in that cycle
    EXPECT_EQ(liveCsv(recordingColumns(s.rec), s.rec.originMs()),
              "Time (s);D001 Engine speed (rpm);D009 Idle switch\r\n"
              "0.000;800;ON\r\n"
              "0.750;812;\"O;N\"\r\n"
              "1.500;;OFF\r\n");
    // Times of a capture count from its trigger.
    std::vector<CsvColumn> columns{{"D001 \"A\"", {{900, 1, 1, "1"}, {1100, 2, 2, "2"}}}};
    EXPECT_EQ(liveCsv(columns, 1000), "Time (s);\"D001 \"\"A\"\"\"\r\n-0.100;1\r\n0.100;2\r\n");
    EXPECT_EQ(csvFileName("LIVE", CivilTime{2007, 2, 3, 9, 5, 7}), "LIVE_20070203_090507.CSV");
}

TEST(GraphWindow, FollowsPausesAndScrollsWithinWhatIsKept) {
    Session s(400);
    for (int64_t ms = 0; ms <= 150'000; ms += 500) s.cycle(ms, "800");
    GraphWindow w;
    EXPECT_EQ(w.endMs(s.rec), 150'040);
    w.back(s.rec);
    EXPECT_TRUE(w.paused());
    EXPECT_EQ(w.endMs(s.rec), 120'040);
    // 400 readings at 500 ms: the rings hold from 50 s on.
    for (int i = 0; i < 5; ++i) w.back(s.rec);
    EXPECT_EQ(w.startMs(s.rec), s.rec.oldestMs());
    s.cycle(150'500, "800");  // paused: new readings do not move it
    EXPECT_EQ(w.startMs(s.rec), s.rec.oldestMs());
    w.forth(s.rec);  // half a window on
    EXPECT_EQ(w.startMs(s.rec), s.rec.oldestMs() + 30'000);
    for (int i = 0; i < 9; ++i) w.forth(s.rec);
    EXPECT_EQ(w.endMs(s.rec), s.rec.newestMs());
    w.resume();
    s.cycle(151'000, "800");
    EXPECT_EQ(w.endMs(s.rec), 151'040);
    // A recording shorter than the window is shown from its start.
    Session young;
    young.cycle(5000, "800");
    EXPECT_EQ(GraphWindow().startMs(young.rec), 5000);
}

TEST(GraphOf, TheBandAndTheReadingsOutsideIt) {
    Session s;
    s.cycle(0, "800");
    s.cycle(1000, "???");
    s.cycle(2000, "950");
    const ui::GraphView view = graphOf(s.rec, {0, 1}, GraphWindow());
    EXPECT_EQ(view.from, 0);
    EXPECT_EQ(view.to, 60);
    ASSERT_EQ(view.traces.size(), 2u);
    const ui::GraphTrace& speed = view.traces[0];
    EXPECT_EQ(speed.label, "Engine speed");
    ASSERT_TRUE(speed.band);
    EXPECT_EQ(speed.band->low, 780);
    ASSERT_EQ(speed.points.size(), 3u);
    EXPECT_FALSE(speed.points[0].outside);
    EXPECT_FALSE(speed.points[1].hasValue());
    EXPECT_TRUE(speed.points[2].outside);
    EXPECT_EQ(speed.points[2].seconds, 2);
    EXPECT_FALSE(view.traces[1].band);
}

}  // namespace
}  // namespace corvan::livedata
