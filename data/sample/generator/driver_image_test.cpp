#include "data/sample/generator/driver_image.h"

#include <gtest/gtest.h>

#include "sim/driver_memory.h"

namespace corvan::sample {
namespace {

TEST(DriverImage, TheBoxReadsTheDriversNameAfterADownload) {
    for (const char* name : {"KWP2000", "CANBUS"}) {
        const auto image = makeDriverImage(name, 3000);
        ASSERT_EQ(image.size(), 3000u);
        EXPECT_EQ(sim::DriverMemory::nameInImage(image), name);
    }
}

TEST(DriverImage, SameNameSameBytesOtherNameOtherBytes) {
    EXPECT_EQ(makeDriverImage("KWP2000", 700), makeDriverImage("KWP2000", 700));
    const auto a = makeDriverImage("KWP2000", 700), b = makeDriverImage("CANBUS", 700);
    // Beyond the tag the fillers differ.
    EXPECT_NE(std::vector<uint8_t>(a.begin() + 64, a.end()),
              std::vector<uint8_t>(b.begin() + 64, b.end()));
}

TEST(DriverImage, AnImageTooSmallForTheTagHasNoName) {
    EXPECT_EQ(sim::DriverMemory::nameInImage(makeDriverImage("KWP2000", 36)), "");
}

}  // namespace
}  // namespace corvan::sample
