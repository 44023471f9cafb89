#include "engine/linkio/linkio_console.h"

#include <gtest/gtest.h>

#include "engine/engine_host.h"
#include "engine/engine_test_support.h"
#include "engine/linkio/console_text.h"
#include "platform/file_io.h"
#include "sim/varbox.h"

namespace corvan::linkio {
namespace {

TEST(LinkConsoleText, TypedBytes) {
    using Bytes = std::vector<uint8_t>;
    EXPECT_EQ(parseTypedBytes("1A80"), Bytes({0x1A, 0x80}));
    EXPECT_EQ(parseTypedBytes(" 1a 8 0\t"), Bytes({0x1A, 0x80}));
    for (const char* bad : {"", "  ", "1A8", "1G", "1A-80", "0x1A"})
        EXPECT_FALSE(parseTypedBytes(bad)) << bad;
    EXPECT_TRUE(parseTypedBytes(std::string(2 * kMaxMessageBytes, 'F')));
    EXPECT_FALSE(parseTypedBytes(std::string(2 * kMaxMessageBytes + 2, 'F')));
    EXPECT_EQ(spacedHex(Bytes{0x5A, 0x0F, 0x00}), "5A 0F 00");
    EXPECT_EQ(spacedHex(Bytes{}), "");
}

// The console against the sample vehicle's engine unit, worked by a technician script.
class LinkConsole : public ::testing::Test {
  protected:
    std::unique_ptr<engine::EngineHost> host(const std::string& script) {
        writeFileAtomic(inst.root() / "script.txt", script);
        engine::HostSetup s;
        s.root = inst.root();
        s.installPath = std::string(engine::testing::kInstall);
        s.port.scenarioFile = inst.scenario();
        s.technicianScript = inst.root() / "script.txt";
        std::string error;
        auto h = engine::EngineHost::create(std::move(s), &error);
        EXPECT_TRUE(h) << error;
        return h;
    }
    std::string run(engine::EngineHost& h, const std::string& mode) {
        ModuleContext ctx(h.link(), 1, mode);
        return runConsole(ctx, PluginCall{"", 0, mode, "ENGINE"});
    }
    engine::testing::TestInstallation inst;
};

// The cells of the console's list when it closed.
std::vector<std::vector<std::string>> rowsOf(const ui::HeadlessScreen& screen) {
    std::vector<std::vector<std::string>> rows;
    const ui::DialogSnapshot* shot = screen.lastSnapshot("LINKIO");
    if (!shot || !shot->control(kExchangeList)) return rows;
    for (const auto& row : shot->control(kExchangeList)->rows) rows.push_back(row.cells);
    return rows;
}

using Rows = std::vector<std::vector<std::string>>;

TEST_F(LinkConsole, SendsTheTypedMessageAndListsTheReply) {
    auto h = host(
        "type \"1a 80\" into #1001\npress \"SEND\"\n"
        "type \"3E\" into #1001\npress \"SEND\"\n"
        "when rows #1000 >= 2 press \"Exit\"\n");
    ASSERT_TRUE(h);
    EXPECT_EQ(run(*h, "EXE"), "");
    EXPECT_TRUE(h->finish().empty());
    EXPECT_EQ(rowsOf(*h->headless()),
              Rows({{"1A 80",
                     "5A 80 39 30 43 39 30 36 30 32 31 41 42 30 30 31 30 01 07 07 03 0F "
                     "12 34 AB CD"},
                    {"3E", "7E"}}));
    EXPECT_EQ(h->headless()->lastSnapshot("LINKIO")->title, "LINK CONSOLE: ENGINE");
    const auto& frames = h->port()->box()->frames();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0], std::vector<uint8_t>({0x80, 0x03, 0x20, 0x00, 0x1A, 0x80, 0x39}));
    EXPECT_EQ(frames[1], std::vector<uint8_t>({0x80, 0x02, 0x20, 0x00, 0x3E, 0x9C}));
}

TEST_F(LinkConsole, AnEcuOrBoxThatStaysSilentShowsNoAnswer) {
    // The first message drops the ECU connection: the box answers the second with 0x0A.
    // The box itself then stays silent: the retry question gets its default answer, No.
    auto h = host(
        "type \"1A9B\" into #1001\npress \"SEND\"\npress \"SEND\"\npress \"SEND\"\n"
        "when rows #1000 >= 3 press \"Exit\"\n");
    ASSERT_TRUE(h);
    sim::Fault drop, silence;
    drop.kind = sim::FaultKind::Disconnect;
    silence.kind = sim::FaultKind::Silence;
    silence.skip = 2;
    silence.count = -1;
    h->port()->box()->inject(drop);
    h->port()->box()->inject(silence);
    run(*h, "EXE");
    EXPECT_EQ(rowsOf(*h->headless()),
              Rows({{"1A 9B", "5A 9B 01 2C"}, {"1A 9B", "no answer"}, {"1A 9B", "no answer"}}));
    ASSERT_EQ(h->headless()->messageBoxes().size(), 1u);
    EXPECT_EQ(h->headless()->messageBoxes()[0].text, "No response from VarBox\nRETRY?");
}

TEST_F(LinkConsole, TypingThatIsNotHexIsRefusedWithoutSending) {
    auto h = host("type \"1A8\" into #1001\npress \"SEND\"\nafter 5 pumps press \"Exit\"\n");
    ASSERT_TRUE(h);
    run(*h, "EXE");
    EXPECT_TRUE(rowsOf(*h->headless()).empty());
    ASSERT_EQ(h->headless()->messageBoxes().size(), 1u);
    EXPECT_EQ(h->headless()->messageBoxes()[0].text,
              "Type the message as hexadecimal bytes (1A 80), at most 64");
    EXPECT_TRUE(h->port()->box()->frames().empty());
}

TEST_F(LinkConsole, DemoSendsNothingAndReportShowsNothing) {
    auto h =
        host("type \"1A80\" into #1001\npress \"SEND\"\nwhen rows #1000 >= 1 press \"Exit\"\n");
    ASSERT_TRUE(h);
    run(*h, "DEMO");
    EXPECT_EQ(rowsOf(*h->headless()), Rows({{"1A 80", "DEMO MODE"}}));
    EXPECT_EQ(run(*h, "REPORT"), "");
    EXPECT_TRUE(h->port()->box()->frames().empty());
}

}  // namespace
}  // namespace corvan::linkio
