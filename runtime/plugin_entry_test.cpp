#include "runtime/plugin_entry.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "runtime/testing/link_fixture.h"

namespace corvan {
namespace {

int calls = 0;

std::string describe(ModuleContext& ctx, const PluginCall& call) {
    ++calls;
    if (call.text == "throw") throw std::runtime_error("boom");
    if (call.text == "throw int") throw 42;
    return call.text + "|" + std::to_string(call.start) + "|" + ctx.mode() + "|" + call.name + "|" +
           std::to_string(ctx.language());
}

class PluginEntryTest : public ::testing::Test, protected testing::LinkFixture {
  protected:
    const char* call(const char* text, VarboxLink* l, int32_t language = 1) {
        return runPluginEntry(&describe, result, text, 7, "DEMO", l, language, "ABS");
    }
    std::string result;
};

TEST_F(PluginEntryTest, RunsTheFunctionWithTheCallsArguments) {
    EXPECT_STREQ(call("T", &link, 9), "T|7|DEMO|ABS|9");  // the index is passed as given
    EXPECT_STREQ(runPluginEntry(&describe, result, nullptr, 0, nullptr, &link, 0, nullptr),
                 "|0|||0");
}

TEST_F(PluginEntryTest, ResultStaysValidUntilTheNextCall) {
    const char* first = call("first", &link);
    const std::string copy = first;
    EXPECT_EQ(std::string(first), copy);
    call("second", &link);
    EXPECT_EQ(result, "second|7|DEMO|ABS|1");
}

TEST_F(PluginEntryTest, NoUsableLinkDoesNothing) {
    calls = 0;
    EXPECT_STREQ(call("T", nullptr), "");
    VarboxLink bare;
    EXPECT_STREQ(call("T", &bare), "");
    HostServices noScreen;
    noScreen.clock = &clock;
    bare.host = &noScreen;
    EXPECT_STREQ(call("T", &bare), "");
    EXPECT_EQ(calls, 0);
}

TEST_F(PluginEntryTest, ExceptionsBecomeAnEmptyText) {
    call("before", &link);
    EXPECT_STREQ(call("throw", &link), "");
    EXPECT_STREQ(call("throw int", &link), "");
}

}  // namespace
}  // namespace corvan
