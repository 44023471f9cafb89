// The identification against the simulated box on the virtual clock: the bytes on the wire,
// the list the technician sees and the result text.
#include "plugins/identify/identification.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "sim/hex_pattern.h"
#include "sim/plugin_test_rig.h"

namespace corvan::identify {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes hex(std::string_view text) {
    return sim::parseHexBytes(text, nullptr).value_or(Bytes{});
}

// An engine unit whose "1A 80" answer is the bytes 11 22 33 44.
std::string scenario(const std::string& rules) {
    return R"({"box": {"program": "running", "driverName": "KWP2000"},
               "ecus": [{"name": "engine", "select": {"line": "kline", "id": "10"},
                         "model": "table", "config": {"rules": [)" +
           rules + "]}}]}";
}
const std::string kExampleRule = R"({"request": "1A 80", "reply": "11 22 33 44"})";

std::string records(std::initializer_list<std::string> lines) {
    std::string text = "<MNU\r\n\tTEXT=\t[\"Identification\"]\r\n\tDLL=\t[IDENTIFY.DLL]\r\n";
    for (const std::string& l : lines) text += l + "\r\n";
    return text + "ENDDATA\r\n>\r\n";
}

class IdentifyTest : public sim::testing::PluginRig {
  protected:
    std::string run(const std::string& text, const std::string& mode, int language = 1,
                    int start = 0) {
        ModuleContext ctx(link, language, mode);
        return runIdentify(ctx, PluginCall{text, start, mode, "EDC16"});
    }
    const ui::DialogSnapshot& shown() {
        const ui::DialogSnapshot* s = screen.lastSnapshot("IDENTIFY");
        if (!s) throw std::runtime_error("no identification dialog");
        return *s;
    }
    std::vector<ui::ListRow> rows() { return shown().control(kListId)->rows; }
};

TEST_F(IdentifyTest, ReplyExampleOneRequestOnTheLineAndEveryFormat) {
    boot(scenario(kExampleRule));
    const std::string text = records({
        "@I000\t[\"Hex\"]\t[1A80]\t[1]\t[2]\t[HEX]",
        "@I001\t[\"Reversed number\"]\t[1A80]\t[0]\t[2]\t[!HEX2DEC]",
        "@I002\t[\"Decimal\"]\t[1A80]\t[0]\t[1]\t[DEC]",
        "@I003\t[\"Too far\"]\t[1A80]\t[3]\t[2]\t[HEX]",
    });
    EXPECT_EQ(run(text, "REPORT"),
              "[IDN]@I000|Hex|2233|@I001|Reversed number|8721|@I002|Decimal|17|"
              "@I003|Too far|???|");
    // The typical request: 80 03 20 00 1A 80 and its check byte, written once for all four.
    EXPECT_EQ(port->written(), hex("80 03 20 00 1A 80 39"));
    ASSERT_EQ(frames.received.size(), 1u);
    EXPECT_EQ(frames.received[0].bytes, hex("80 05 20 00 11 22 33 44 E1"));
    EXPECT_FALSE(shown().everShown);
    EXPECT_TRUE(screen.messageBoxes().empty());
}

TEST_F(IdentifyTest, ReportModeWithThreeRecordsShowsNoWindow) {
    boot(scenario(
        R"({"request": "1A 80", "reply": "41 42 43"}, {"request": "1A 8C", "reply": "00 01"})"));
    const std::string text = records({
        "@I000\t[\"Text\"]\t[1A80]\t[0]\t[3]\t[ASCII]",
        "@I001\t[\"Backwards\"]\t[1A80]\t[0]\t[3]\t[!ASCII]",
        "@I002\t[\"Counter\"]\t[1A8C]\t[0]\t[2]\t[HEX2DEC]",
    });
    for (const char* mode : {"REPORT", "DEL", "EXE@"}) {
        EXPECT_EQ(run(text, mode), "[IDN]@I000|Text|ABC|@I001|Backwards|CBA|@I002|Counter|1|")
            << mode;
        EXPECT_FALSE(shown().everShown) << mode;
    }
}

TEST_F(IdentifyTest, InteractiveListWithTwoColumnsAndExit) {
    boot(scenario(kExampleRule));
    ASSERT_EQ(screen.loadScript("when rows #1000 >= 2 press \"Exit\"\n"), "");
    const std::string text = records({
        "@I000\t[\"Hex\"]\t[1A80]\t[0]\t[4]\t[HEX]",
        "@I001\t[\"Missing\"]\t[1A80]\t[2]\t[4]\t[HEX]",
    });
    EXPECT_EQ(run(text, "EXE"), "[IDN]");
    const ui::DialogSnapshot& s = shown();
    EXPECT_EQ(s.title, "ECU IDENTIFICATION: EDC16");
    EXPECT_TRUE(s.everShown);
    const ui::ControlState* list = s.control(kListId);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->columns.size(), 2u);
    EXPECT_EQ(list->columns[0].heading, "DESCRIPTION");
    EXPECT_EQ(list->columns[0].width, 140);
    EXPECT_EQ(list->columns[1].heading, "INFORMATION");
    EXPECT_EQ(list->columns[1].width, 165);
    ASSERT_EQ(list->rows.size(), 2u);
    EXPECT_EQ(list->rows[0].cells, (std::vector<std::string>{"Hex", "11223344"}));
    EXPECT_EQ(list->rows[1].cells, (std::vector<std::string>{"Missing", "???"}));
    EXPECT_EQ(s.control(kExitId)->text, "Exit");
    EXPECT_TRUE(screen.report().clean()) << screen.report().text();
}

TEST_F(IdentifyTest, GermanHeadingsAndTitle) {
    boot(scenario(kExampleRule));
    ASSERT_EQ(screen.loadScript("press \"Exit\"\n"), "");
    EXPECT_EQ(run(records({"@I000\t[\"Hex\"]\t[1A80]\t[0]\t[1]\t[HEX]"}), "EXE", kGerman), "[IDN]");
    EXPECT_EQ(shown().title, "IDENTIFIZIERUNG ECU EDC16");
    EXPECT_EQ(shown().control(kListId)->columns[0].heading, "BESCHREIBUNG");
}

TEST_F(IdentifyTest, DemonstrationSendsNothing) {
    boot(scenario(kExampleRule));
    ASSERT_EQ(screen.loadScript("when rows #1000 >= 2 press \"Exit\"\n"), "");
    const std::string text = records({
        "@I000\t[\"Hex\"]\t[1A80]\t[0]\t[4]\t[HEX]",
        "@I001\t[\"Key bytes\"]\t[INITIAL_ID]\t[0]\t[1]\t[HEX]",
    });
    EXPECT_EQ(run(text, "DEMO"), "[IDN]");
    EXPECT_TRUE(port->written().empty());
    for (const ui::ListRow& row : rows()) EXPECT_EQ(row.cells.at(1), "SIMULATION MODE");
    EXPECT_TRUE(shown().everShown);
}

TEST_F(IdentifyTest, EmptyReplyIsAskedForAgainByTheNextRecord) {
    // The ECU does not answer the first time (the box says so with 0x0A), then it does.
    boot(scenario(R"({"request": "1A 80", "replies": ["noAnswer", "11 22 33 44"]})"));
    const std::string text = records({
        "@I000\t[\"First\"]\t[1A80]\t[0]\t[1]\t[HEX]",
        "@I001\t[\"Second\"]\t[1A80]\t[1]\t[1]\t[HEX]",
        "@I002\t[\"Third\"]\t[1A80]\t[2]\t[1]\t[HEX]",
    });
    EXPECT_EQ(run(text, "REPORT"), "[IDN]@I000|First|???|@I001|Second|22|@I002|Third|33|");
    const Bytes request = hex("80 03 20 00 1A 80 39");
    Bytes twice = request;
    twice.insert(twice.end(), request.begin(), request.end());
    EXPECT_EQ(port->written(), twice);
    EXPECT_TRUE(screen.messageBoxes().empty());  // a reply came: no question
}

TEST_F(IdentifyTest, SilentEcuAsksToRetryAndEachRecordAsksAgain) {
    boot(scenario(R"({"request": "1A 80", "silence": true})"));
    ASSERT_EQ(screen.loadScript("answer \"RETRY?\" Yes\n"), "");
    const std::string text = records({
        "@I000\t[\"First\"]\t[1A80]\t[0]\t[1]\t[HEX]",
        "@I001\t[\"Second\"]\t[1A80]\t[0]\t[1]\t[DEC]",
    });
    EXPECT_EQ(run(text, "REPORT"), "[IDN]@I000|First|???|@I001|Second|???|");
    // First record: 4 sends, Yes, 4 more, then No (default); second record: 4 sends, No.
    ASSERT_EQ(screen.messageBoxes().size(), 3u);
    EXPECT_EQ(screen.messageBoxes()[0].text, "No response from VarBox\nRETRY?");
    EXPECT_EQ(screen.messageBoxes()[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(frames.sent.size(), 12u);
}

TEST_F(IdentifyTest, InitialIdComesFromTheAppendedBlock) {
    boot(scenario(kExampleRule));
    const std::string record = "@I000\t[\"Key bytes\"]\t[INITIAL_ID]\t[1]\t[2]\t[HEX]";
    const std::string block = "#ADITIONAL_ID\r\n\tID=\t[C1EF8F]\n\r#END";
    EXPECT_EQ(run(records({record}) + block, "REPORT"), "[IDN]@I000|Key bytes|EF8F|");
    EXPECT_EQ(run(records({record}), "REPORT"), "[IDN]@I000|Key bytes|???|");
    EXPECT_EQ(run(records({record}) + "#ADITIONAL_ID\r\n\tID=\t[]\n\r#END", "REPORT"),
              "[IDN]@I000|Key bytes|???|");
    EXPECT_TRUE(port->written().empty());
}

TEST_F(IdentifyTest, RecordsOfTheItemFromTheStartPosition) {
    boot(scenario(kExampleRule));
    const std::string other = records({"@I900\t[\"Other\"]\t[2187]\t[0]\t[1]\t[HEX]"});
    const std::string mine = records({"@I000\t[\"Mine\"]\t[1A80]\t[0]\t[1]\t[HEX]"});
    const std::string text = other + mine;
    EXPECT_EQ(run(text, "REPORT", 1, static_cast<int>(other.size())), "[IDN]@I000|Mine|11|");
}

TEST_F(IdentifyTest, MalformedFieldsShowQuestionMarksAndNeverCrash) {
    boot(scenario(kExampleRule + R"(, {"request": "??", "reply": "7F 00 11"})"));
    const std::string text = records({
        "@I000\t[\"Bad format\"]\t[1A80]\t[0]\t[1]\t[BCD]",
        "@I001\t[\"Negative\"]\t[1A80]\t[-1]\t[1]\t[HEX]",
        "@I002\t[\"Huge\"]\t[1A80]\t[4000000000]\t[1]\t[HEX]",
        "@I003\t[\"Empty request\"]\t[]\t[0]\t[1]\t[HEX]",
        "@I004\t[\"No fields\"]",
        "@I005\t[no quotes]\t[1A80]\t[0]\t[1]\t[DEC]",
    });
    const std::string result = run(text, "REPORT");
    EXPECT_TRUE(result.starts_with("[IDN]@I000|Bad format|???|@I001|Negative|???|@I002|Huge|???|"))
        << result;
    // The empty request goes out as 80 00 20 and its check byte.
    const Bytes& wire = port->written();
    const Bytes empty = hex("80 00 20 A0");
    EXPECT_NE(std::search(wire.begin(), wire.end(), empty.begin(), empty.end()), wire.end());

    // Garbage of every kind: the module ends and shows "???".
    for (const char* junk : {"@I", "@I0[", "@I000[\"x\"][1A80][0][999999999999][!]",
                             "@I000[\"x\"][1A80][0][1][!!DEC]", "@I000[][][][][]"}) {
        const std::string r = run(junk, "REPORT");
        EXPECT_TRUE(r.starts_with("[IDN]")) << junk;
    }
}

}  // namespace
}  // namespace corvan::identify
