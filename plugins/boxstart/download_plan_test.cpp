// The arithmetic of the driver download: mode, name check, blocks and progress.
#include "plugins/boxstart/download_plan.h"

#include <gtest/gtest.h>

#include "plugins/boxstart/boxstart_test_support.h"

namespace corvan::boxstart {
namespace {

using testing::Bytes;

TEST(StartMode, TrailingAtSkipsTheChecksAndIsRemoved) {
    EXPECT_EQ(parseMode("EXE@").text, "EXE");
    EXPECT_TRUE(parseMode("EXE@").skipChecks);
    EXPECT_EQ(parseMode("@").text, "");
    EXPECT_TRUE(parseMode("@").skipChecks);
    EXPECT_FALSE(parseMode("EXE").skipChecks);
    EXPECT_FALSE(parseMode("").skipChecks);
    EXPECT_EQ(parseMode("E@X").text, "E@X");
}

TEST(DriverPath, InstallPathDrvFolderAndFile) {
    EXPECT_EQ(driverPath("STORAGE CARD\\CORVANDATA", "KWP2000.DRV"),
              "STORAGE CARD\\CORVANDATA\\drv\\KWP2000.DRV");
    EXPECT_EQ(driverPath("", ""), "\\drv\\");
}

Bytes nameReply(std::string_view name) {
    Bytes r = {0x80, 19, 0x0F};
    for (size_t i = 0; i < 19; ++i) r.push_back(i < name.size() ? uint8_t(name[i]) : 0);
    r.push_back(0);  // check byte (not looked at)
    return r;
}

TEST(DriverName, CutBeforeTheFirstBlank) {
    const Bytes r = nameReply("KWP2000 V2");
    EXPECT_EQ(driverNameFromReply(r, int(r.size())), "KWP2000");
}

TEST(DriverName, WithoutBlankTheNameIsEmptyAndFitsEveryPath) {
    const Bytes r = nameReply("CANBUS");
    const std::string name = driverNameFromReply(r, int(r.size()));
    EXPECT_EQ(name, "");
    EXPECT_TRUE(runsDriver(testing::kKwpDriverPath, name));
}

TEST(DriverName, OnlyBytesInsideTheFrameCount) {
    // A short reply followed by stale buffer bytes holding a blank.
    Bytes r = {0x80, 0x02, 0x0F, 'K', 'W', 0x00, ' ', 'X'};
    EXPECT_EQ(driverNameFromReply(r, 6), "");
    EXPECT_EQ(driverNameFromReply(r, 0), "");
}

TEST(DriverName, PathMustContainTheReportedName) {
    EXPECT_TRUE(runsDriver(testing::kKwpDriverPath, "KWP2000"));
    EXPECT_FALSE(runsDriver(testing::kKwpDriverPath, "CANBUS"));
    EXPECT_FALSE(runsDriver(testing::kKwpDriverPath, "kwp2000"));  // case counts
}

TEST(Blocks, CountRoundsUp) {
    EXPECT_EQ(blockCount(0), 0u);
    EXPECT_EQ(blockCount(1), 1u);
    EXPECT_EQ(blockCount(256), 1u);
    EXPECT_EQ(blockCount(300), 2u);
}

TEST(Blocks, LastBlockCarriesTheRestAndZeroFiller) {
    const Bytes image = testing::driverImage("KWP2000", 300);
    const auto first = blockFrame(image, 0);
    EXPECT_EQ(first[0], 0x01);
    EXPECT_EQ(first[1], 0x00);
    EXPECT_EQ(first[2], 0x1A);
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + 256, first.begin() + 3));
    const auto second = blockFrame(image, 1);
    EXPECT_TRUE(std::equal(image.begin() + 256, image.end(), second.begin() + 3));
    EXPECT_TRUE(
        std::all_of(second.begin() + 3 + 44, second.end(), [](uint8_t b) { return b == 0; }));
    // A block past the image is all filler.
    const auto past = blockFrame(image, 5);
    EXPECT_TRUE(std::all_of(past.begin() + 3, past.end(), [](uint8_t b) { return b == 0; }));
}

TEST(BlockProgress, EightyStepsOverTheWholeBlocks) {
    EXPECT_EQ(blockProgress(0, 1024), 17);
    EXPECT_EQ(blockProgress(1, 1024), 37);
    EXPECT_EQ(blockProgress(3, 1024), 77);
    // The divisor is rounded down: a partial last block goes past 80.
    EXPECT_EQ(blockProgress(1, 300), 97);
    EXPECT_EQ(blockProgress(2, 700), 97);
}

TEST(BlockProgress, DriverShorterThanOneBlockStaysAt17) {
    EXPECT_EQ(blockProgress(0, 200), 17);
    EXPECT_EQ(blockProgress(0, 1), 17);
}

}  // namespace
}  // namespace corvan::boxstart
