// The channel reader against the simulated box and a KW1281 unit on the virtual clock: the
// frames on the wire (set-up once per group, the box's own keep-alive message handed back
// once per pause), the rows the technician sees, and the demonstration sending nothing.
#include "plugins/vagchannels/channel_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <stdexcept>

#include "platform/device_root.h"
#include "platform/test_temp_dir.h"
#include "sim/hex_pattern.h"
#include "sim/plugin_test_rig.h"

namespace corvan::vagchannels {
namespace {

using Bytes = std::vector<uint8_t>;
using Frames = std::vector<Bytes>;

Bytes hex(std::string_view text) {
    return sim::parseHexBytes(text, nullptr).value_or(Bytes{});
}

// The box repeats an acknowledge for the unit, as the box start-up left it.
const std::string kScenario = R"({
  "box": {"keepAlive": "03 00 09 00", "keepAliveOn": true},
  "ecus": [{"name": "engine", "model": "kw1281", "config": {"delayMs": 20, "measuring": {"groups": [
    {"group": 0, "values": [0, 1, 2, 10, 99, 100, 200, 255, 7, 8]},
    {"group": 1, "fields": [{"formula": 1, "a": 200, "b": 16}, {"formula": 5, "a": 10, "b": 135},
                            {"formula": 37, "a": 0, "b": 5}, {"formula": 44, "a": 12, "b": 30}]},
    {"group": 2, "dynamic": [{"formula": 128, "factor": 40, "u": 50},
                             {"formula": 139, "factor": 10, "u": 255,
                              "extra": "00 0A 14 1E 28 32 3C 46 50 5A 64 6E 78 82 8C 96 A0"}]}]}}}]})";

std::string record(const std::string& frame = "04002900") {
    return "<MNU\r\n\tID=\t[M01]\r\n\tTEXT=\t[\"Measuring "
           "blocks\"]\r\n\tDLL=\t[VAGCHANNELS.DLL]\r\n"
           "\tFRAME=\t[" +
           frame +
           "]\r\n"
           "@D000\t[\"R1\"]\t[\"R2\"]\t[\"R3\"]\t[\"R4\"]\t[\"R5\"]\t[\"R6\"]\t[\"R7\"]\t[\"R8\"]"
           "\t[\"R9\"]\t[\"R10\"]\r\n"
           "@D001\t[\"Engine speed\"]\t[\"Coolant\"]\t[\"Idle\"]\t[\"Clock\"]\r\n"
           "@D002\t[\"Engine speed\"]\t[\"Speed from table\"]\t[\"\"]\t[\"\"]\r\n"
           "ENDDATA\r\n>\r\n";
}

class ChannelReaderTest : public sim::testing::PluginRig {
  protected:
    void boot(const std::string& json = kScenario) { PluginRig::boot(json); }
    // An installation whose iCor.cfg the reader finds.
    void install() {
        std::filesystem::create_directories(dir.path() / "STORAGE CARD");
        std::ofstream(dir.path() / "STORAGE CARD" / "iCor.cfg")
            << "PATH=[STORAGE CARD\\CORVANDATA]\r\n";
        root = DeviceRoot(dir.path());
        root.setProgramPath("\\STORAGE CARD\\CORVANDATA\\EXE\\ECOR.EXE");
        host.root = &root;
    }
    std::string run(const std::string& script, const std::string& mode = "EXE",
                    const std::string& text = record(), int language = 1) {
        EXPECT_EQ(screen.loadScript(script), "");
        ModuleContext ctx(link, language, mode);
        return runChannelReader(ctx, PluginCall{text, 0, mode, "ENGINE"});
    }
    // The frames written, without their check bytes.
    Frames sent() const {
        Frames out;
        for (const Bytes& f : frames.sent) out.emplace_back(f.begin(), f.end() - 1);
        return out;
    }
    size_t count(const Bytes& frame) const {
        const Frames s = sent();
        return size_t(std::count(s.begin(), s.end(), frame));
    }
    const ui::DialogSnapshot& shown() const {
        const ui::DialogSnapshot* s = screen.lastSnapshot("VAGCHANNELS");
        if (!s) throw std::runtime_error("no channel reader");
        return *s;
    }
    std::vector<std::string> cells(int column) const {
        std::vector<std::string> out;
        for (const ui::ListRow& r : shown().control(kListId)->rows)
            out.push_back(r.cells.at(size_t(column)));
        return out;
    }

    corvan::testing::TempDir dir;
    DeviceRoot root;
};

using Texts = std::vector<std::string>;

TEST_F(ChannelReaderTest, ReadingAGroupSetsItUpOnceAndEachPauseHandsTheBoxItsMessageBack) {
    boot();
    install();
    EXPECT_EQ(run("type \"1\" into #1001\npress \"Begin\"\nafter 6 pumps press \"Pause\"\n"
                  "after 4 pumps press \"Begin\"\nafter 4 pumps press \"Pause\"\n"
                  "after 4 pumps press \"Exit\"\n"),
              "");
    const Frames s = sent();
    ASSERT_GE(s.size(), 8u);
    EXPECT_EQ(s[0], hex("80 00 85"));
    // The set-up: keep-alive off, acknowledge, one read (the header answer), keep-alive on.
    EXPECT_EQ(s[1], hex("80 05 86 00 04 00 29 01"));
    EXPECT_EQ(s[2], hex("80 05 20 00 03 00 09 00"));
    EXPECT_EQ(s[3], hex("80 05 20 00 04 00 29 01"));
    EXPECT_EQ(s[4], hex("80 05 86 01 04 00 29 01"));
    EXPECT_EQ(s[5], hex("80 05 20 00 04 00 29 01"));
    // Two readings, two set-ups, two hand-backs of the box's acknowledge; nothing else.
    const Bytes restore = hex("80 05 86 01 03 00 09 00");
    EXPECT_EQ(count(hex("80 05 86 00 04 00 29 01")), 2u);
    EXPECT_EQ(count(hex("80 05 86 01 04 00 29 01")), 2u);
    EXPECT_EQ(count(restore), 2u);
    EXPECT_EQ(s.back(), restore);
    for (const Bytes& f : s)
        EXPECT_TRUE(f == hex("80 00 85") || f[2] == 0x86 || f == hex("80 05 20 00 04 00 29 01") ||
                    f == hex("80 05 20 00 03 00 09 00"))
            << sim::formatHex(f);
    // The box repeats its own message again.
    EXPECT_EQ(box->keepAliveMessage(), hex("03 00 09 00"));
    EXPECT_TRUE(box->keepAliveOn());

    EXPECT_EQ(cells(0), (Texts{"1", "2", "3", "4", "", "", "", "", "", ""}));
    EXPECT_EQ(cells(1),
              (Texts{"Engine speed", "Coolant", "Idle", "Clock", "", "", "", "", "", ""}));
    EXPECT_EQ(cells(2), (Texts{"640", "35", "RALENTI", "12:30", "", "", "", "", "", ""}));
    EXPECT_EQ(cells(3), (Texts{"RPM", "ºC", "", "HH:MM", "", "", "", "", "", ""}));
    EXPECT_TRUE(screen.messageBoxes().empty());
    EXPECT_TRUE(screen.report().clean()) << screen.report().text();
}

TEST_F(ChannelReaderTest, ChangingTheGroupWhileReadingSetsUpTheNewGroupOnce) {
    boot();
    install();
    run("type \"1\" into #1001\npress \"Begin\"\nafter 4 pumps press \"+\"\n"
        "after 6 pumps press \"Exit\"\n");
    EXPECT_EQ(count(hex("80 05 86 00 04 00 29 01")), 1u);
    EXPECT_EQ(count(hex("80 05 86 00 04 00 29 02")), 1u);
    EXPECT_EQ(count(hex("80 05 86 01 04 00 29 02")), 1u);
    EXPECT_GE(count(hex("80 05 20 00 04 00 29 02")), 3u);
    // Group 2 is dynamic: its set-up read brought the header, the reads bring data.
    EXPECT_EQ(cells(2), (Texts{"2000", "1594", "???", "???", "", "", "", "", "", ""}));
    EXPECT_EQ(cells(3), (Texts{"RPM", "RPM", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(cells(1)[1], "Speed from table");
    EXPECT_EQ(shown().control(kGroupId)->text, "2");
    // Leaving while reading hands the box its message back, once.
    EXPECT_EQ(sent().back(), hex("80 05 86 01 03 00 09 00"));
    EXPECT_EQ(count(hex("80 05 86 01 03 00 09 00")), 1u);
}

TEST_F(ChannelReaderTest, GroupZeroShowsTenRawValues) {
    boot();
    install();
    run("press \"Begin\"\nafter 4 pumps press \"Exit\"\n");
    const Frames s = sent();
    ASSERT_GE(s.size(), 3u);
    EXPECT_EQ(s[1], hex("80 05 86 01 03 00 12 00"));
    EXPECT_EQ(s[2], hex("80 04 20 00 03 00 12"));
    EXPECT_EQ(cells(0), (Texts{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_EQ(cells(1), (Texts{"R1", "R2", "R3", "R4", "R5", "R6", "R7", "R8", "R9", "R10"}));
    EXPECT_EQ(cells(2),
              (Texts{"000", "001", "002", "010", "099", "100", "200", "255", "007", "008"}));
    EXPECT_EQ(cells(3), Texts(10, ""));
}

TEST_F(ChannelReaderTest, StepsWrapAndTypedTextBecomesTheGroupNumber) {
    boot();
    install();
    // Each step, then a dump of the window as the technician then sees it.
    run("press \"-\"\ndump\npress \"+\"\ndump\npress \"+\"\ndump\n"
        "type \"abc\" into #1001\ndump\ntype \"300\" into #1001\ndump\n"
        "type \"12x\" into #1001\ndump\npress \"Exit\"\n");
    Texts seen;
    for (const ui::DialogSnapshot& s : screen.snapshots())
        if (s.reason == "script") seen.push_back(s.control(kGroupId)->text);
    EXPECT_EQ(seen, (Texts{"255", "0", "1", "0", "255", "12"}));
    // Stepping and typing read nothing: only the box's message was asked for.
    EXPECT_EQ(sent(), Frames{hex("80 00 85")});
}

TEST_F(ChannelReaderTest, DemonstrationSendsNothingAndCannotStart) {
    boot();  // no installation either: the reader says so and goes on
    run("press \"+\"\nafter 3 pumps press \"Exit\"\n", "DEMO");
    EXPECT_TRUE(port->written().empty());
    ASSERT_EQ(screen.messageBoxes().size(), 1u);
    EXPECT_EQ(screen.messageBoxes()[0].text, "Can´t open configuration file c:iCor.cfg");
    const ui::DialogSnapshot& s = shown();
    EXPECT_TRUE(s.everShown);
    EXPECT_EQ(s.title, "READ CHANNEL: ENGINE");
    EXPECT_FALSE(s.control(kStartId)->enabled);
    EXPECT_EQ(s.control(kStartId)->text, "Begin");
    EXPECT_FALSE(s.control(kListId)->enabled);
    EXPECT_FALSE(s.control(kProgressId)->visible);
    EXPECT_EQ(s.control(kGroupId)->text, "1");
    EXPECT_EQ(s.control(kChannelLabelId)->text, "CHANNEL");
    const auto& columns = s.control(kListId)->columns;
    ASSERT_EQ(columns.size(), 4u);
    EXPECT_EQ(columns[0].heading, "GROUP");
    EXPECT_EQ(columns[0].width, 60);
    EXPECT_EQ(columns[1].heading, "DESCRIPTION");
    EXPECT_EQ(columns[1].width, 0);
    EXPECT_EQ(columns[2].heading, "REAL VALUE");
    EXPECT_EQ(columns[2].width, 95);
    EXPECT_EQ(columns[3].heading, "UNIT");
    EXPECT_EQ(columns[3].width, 65);
    EXPECT_EQ(cells(0), (Texts{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));

    // Report mode shows nothing and returns at once.
    EXPECT_EQ(run("", "REPORT"), "");
    EXPECT_TRUE(port->written().empty());
}

TEST_F(ChannelReaderTest, GroupTheUnitLacksIsNotAvailable) {
    boot();
    install();
    run("type \"7\" into #1001\npress \"Begin\"\nafter 4 pumps press \"Exit\"\n", "EXE", record(),
        kGerman);
    EXPECT_EQ(cells(2), (Texts{"NO DISPONIBLE", "", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(shown().title, "KANAL LESEN: ENGINE");
    EXPECT_EQ(shown().control(kListId)->columns[2].heading, "ISTWERT");
}

TEST_F(ChannelReaderTest, UnitsOfTheOtherFamilyOnlyGetTheGroupAsKeepAliveMessage) {
    boot();
    install();
    run("type \"1\" into #1001\npress \"Begin\"\nafter 4 pumps press \"-\"\n"
        "after 4 pumps press \"Exit\"\n",
        "EXE", record("04002100"));
    const Frames s = sent();
    ASSERT_GE(s.size(), 3u);
    EXPECT_EQ(s[1], hex("80 05 86 01 04 00 21 01"));
    EXPECT_EQ(s[2], hex("80 05 20 00 04 00 21 01"));
    EXPECT_EQ(count(hex("80 05 86 00 04 00 21 01")), 0u);
    EXPECT_EQ(count(hex("80 05 20 00 03 00 09 00")), 0u);
    // Group 0 of that family.
    EXPECT_EQ(count(hex("80 05 86 01 03 00 11 00")), 1u);
    EXPECT_GE(count(hex("80 04 20 00 03 00 11")), 1u);
    EXPECT_EQ(cells(2)[0], "000");
}

TEST_F(ChannelReaderTest, WithoutTheBoxMessageAnAcknowledgeIsHandedBack) {
    // The box does not answer the question for its message: the reader asks the fixed
    // question, gets No, and later hands back an acknowledge.
    boot(R"({"box": {"keepAlive": "82 10 F1 3E", "keepAliveOn": true},
             "faults": [{"kind": "silence", "command": "85", "count": 4}],
             "ecus": [{"model": "kw1281", "config": {"measuring": {"groups": [
               {"group": 1, "fields": [{"formula": 1, "a": 200, "b": 16}]}]}}}]})");
    install();
    run("type \"1\" into #1001\npress \"Begin\"\nafter 4 pumps press \"Exit\"\n");
    ASSERT_EQ(screen.messageBoxes().size(), 1u);
    EXPECT_EQ(screen.messageBoxes()[0].text, "No hay respuesta del terminal \n¿REINTENTAR?");
    EXPECT_EQ(count(hex("80 00 85")), 4u);
    EXPECT_EQ(sent().back(), hex("80 05 86 01 03 00 09 00"));
    EXPECT_EQ(box->keepAliveMessage(), hex("03 00 09 00"));
    EXPECT_EQ(cells(2)[0], "640");
}

}  // namespace
}  // namespace corvan::vagchannels
