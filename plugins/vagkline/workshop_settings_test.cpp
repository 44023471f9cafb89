// The workshop settings read from the configuration file's text.
#include "plugins/vagkline/workshop_settings.h"

#include <gtest/gtest.h>

namespace corvan::vagkline {
namespace {

TEST(WorkshopSettings, KeysOfTheConfigurationFile) {
    const WorkshopSettings s = parseWorkshopSettings(
        "PATH=[STORAGE CARD\\CORVANDATA]\r\nVAG_WORKSHOP_ID=[0123456789AB]\r\n"
        "VAG_WORKSHOP_CODE=[54321]\r\nLANGUAGE=[ENGLISH]\r\n");
    EXPECT_EQ(s.identification, (WorkshopId{0x01, 0x23, 0x45, 0x67, 0x89, 0xAB}));
    EXPECT_EQ(s.code, 54321);
    EXPECT_EQ(parseWorkshopSettings("PATH=[X]"), WorkshopSettings{});
}

TEST(WorkshopSettings, AMistypedValueKeepsTheDefault) {
    const WorkshopSettings defaults;
    for (const char* text : {"VAG_WORKSHOP_ID=[0123456789ab] VAG_WORKSHOP_CODE=[65536]",
                             "VAG_WORKSHOP_ID=[0123456789A] VAG_WORKSHOP_CODE=[12 34]",
                             "VAG_WORKSHOP_ID=[] VAG_WORKSHOP_CODE=[]",
                             "VAG_WORKSHOP_ID=[0123456789ABC] VAG_WORKSHOP_CODE=[-1]"}) {
        EXPECT_EQ(parseWorkshopSettings(text), defaults) << text;
    }
    EXPECT_EQ(parseWorkshopSettings("VAG_WORKSHOP_CODE=[0]").code, 0);
    EXPECT_EQ(parseWorkshopSettings("VAG_WORKSHOP_CODE=[65535]").code, 65535);
}

}  // namespace
}  // namespace corvan::vagkline
