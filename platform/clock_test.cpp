#include "platform/clock.h"

#include <gtest/gtest.h>

namespace corvan {
namespace {

void expectCivil(const CivilTime& t, int y, int mo, int d, int h, int mi, int s) {
    EXPECT_EQ(t.year, y);
    EXPECT_EQ(t.month, mo);
    EXPECT_EQ(t.day, d);
    EXPECT_EQ(t.hour, h);
    EXPECT_EQ(t.minute, mi);
    EXPECT_EQ(t.second, s);
}

TEST(VirtualClock, SleepsAdvanceInstantlyAndNegativeSleepsAreIgnored) {
    VirtualClock clock;
    EXPECT_TRUE(clock.isVirtual());
    EXPECT_EQ(clock.nowUs(), 0);
    clock.sleepMs(80);
    EXPECT_EQ(clock.nowUs(), 80000);
    clock.sleepUs(-5);
    clock.sleepUntilUs(1000);  // already passed
    EXPECT_EQ(clock.nowUs(), 80000);
    clock.sleepUntilUs(100000);
    EXPECT_EQ(clock.nowMs(), 100);
}

TEST(VirtualClock, CivilTimeMovesWithTheMonotonicTime) {
    VirtualClock clock;  // 3 Feb 2007 09:05:07
    expectCivil(clock.civilNow(), 2007, 2, 3, 9, 5, 7);
    clock.sleepMs(3600 * 1000);
    expectCivil(clock.civilNow(), 2007, 2, 3, 10, 5, 7);
    clock.sleepMs(999);  // parts of a second do not round up
    expectCivil(clock.civilNow(), 2007, 2, 3, 10, 5, 7);
}

TEST(VirtualClock, CivilTimeCrossesMonthYearAndLeapDays) {
    VirtualClock endOfYear(CivilTime{2007, 12, 31, 23, 59, 59});
    endOfYear.sleepMs(1000);
    expectCivil(endOfYear.civilNow(), 2008, 1, 1, 0, 0, 0);

    VirtualClock leap(CivilTime{2008, 2, 28, 12, 0, 0});
    leap.sleepMs(24LL * 3600 * 1000);
    expectCivil(leap.civilNow(), 2008, 2, 29, 12, 0, 0);
    leap.sleepMs(24LL * 3600 * 1000);
    expectCivil(leap.civilNow(), 2008, 3, 1, 12, 0, 0);
}

TEST(RealClock, IsMonotonicAndGivesAPlausibleCalendar) {
    RealClock clock;
    EXPECT_FALSE(clock.isVirtual());
    const int64_t a = clock.nowUs();
    EXPECT_LE(a, clock.nowUs());
    const CivilTime t = clock.civilNow();
    EXPECT_GE(t.year, 2020);
    EXPECT_TRUE(t.month >= 1 && t.month <= 12);
    EXPECT_TRUE(t.day >= 1 && t.day <= 31);
}

}  // namespace
}  // namespace corvan
