// Which decoding an item gets by its kind, what the VAG decoder is handed, and the frames
// the polling builds from request texts.
#include "plugins/livedata/item_decoding.h"

#include <gtest/gtest.h>

#include "plugins/livedata/live_requests.h"
#include "plugins/livedata/recording_vag_decoder.h"

namespace corvan::livedata {
namespace {

using Bytes = std::vector<uint8_t>;

using testing::RecordingVagDecoder;

LiveItem vagItem(const std::string& kind, const std::string& answer,
                 const std::string& field = "1") {
    LiveItem i;
    i.key = "D001";
    i.position = field;
    i.conversion = kind;
    i.unit = "\"RPM\"";
    i.value = answer;
    return i;
}

// A group answer of 32 characters with the title `title`.
std::string block(const std::string& title) {
    return "0F01" + title + "0132400564A0000000000000000000";
}

TEST(ItemDecoding, VagBlocksByTitleAndLength) {
    const RecordingVagDecoder rec;
    const Bytes header = {0x0F, 0x02, 0x02, 0x01, 0x0A, 0x00};
    LiveItem i = vagItem("VAG", block("E7"));
    decodeItem(i, {}, "", rec);
    EXPECT_EQ(i.value, "F1:" + block("E7"));
    EXPECT_EQ(i.unit, "deg");

    i = vagItem("VAG", block("E7").substr(0, 30));  // too short for a group
    decodeItem(i, {}, "", rec);
    EXPECT_EQ(i.value, "???");
    EXPECT_EQ(i.unit, "\"RPM\"");

    i = vagItem("VAG", block("F4"), "2");  // data of a dynamic group with its header
    decodeItem(i, header, "", rec);
    EXPECT_EQ(i.value, "D2:" + block("F4") + ":6");

    i = vagItem("VAG", "0601F4AB");  // short data blocks are decoded against the header
    decodeItem(i, header, "", rec);
    EXPECT_EQ(i.value, "D1:0601F4AB:6");

    for (const std::string& answer : {block("F4"), block("02"), std::string()}) {
        i = vagItem("VAG", answer);  // no header block received
        decodeItem(i, {}, "", rec);
        EXPECT_EQ(i.value, "???") << answer;
        EXPECT_EQ(i.unit, "\"RPM\"");
    }
    i = vagItem("VAG", "", "1");
    decodeItem(i, header, "", rec);  // empty answer even with a header
    EXPECT_EQ(i.value, "???");
    i = vagItem("VAG", block("E7"), "x");
    decodeItem(i, {}, "", rec);
    EXPECT_EQ(i.value, "???");
    // Field numbers are decimal; a block never has 256 fields.
    for (const char* field : {"12", "255"}) {
        i = vagItem("VAG", block("E7"), field);
        decodeItem(i, {}, "", rec);
        EXPECT_EQ(i.value, std::string("F") + field + ":" + block("E7"));
    }
    i = vagItem("VAG", block("E7"), "256");
    decodeItem(i, {}, "", rec);
    EXPECT_EQ(i.value, "???");
    // A header block of length, counter and title alone still makes the group dynamic.
    i = vagItem("VAG", block("F4"));
    decodeItem(i, Bytes{0x03, 0x01, 0x02}, "", rec);
    EXPECT_EQ(i.value, "D1:" + block("F4") + ":3");
}

TEST(ItemDecoding, VagCanAnswersGetTheLengthBytePutInFront) {
    const RecordingVagDecoder rec;
    // The title is not looked at; "00" stands for the length byte a K-line block has.
    const std::string answer = "0199" + std::string(28, '5');
    LiveItem i = vagItem("VAGCAN", answer, "0");
    decodeItem(i, {}, "", rec);
    EXPECT_EQ(i.value, "F0:00" + answer);
    i = vagItem("VAGCAN", answer.substr(0, 31), "0");
    decodeItem(i, {}, "", rec);
    EXPECT_EQ(i.value, "???");
    EXPECT_EQ(i.unit, "\"RPM\"");
}

TEST(ItemDecoding, ThePlugInsDecoderReadsTheFormulaTables) {
    // block("E7"): field 0 is formula 1 with a = 0x32, b = 0x40 (50 * 64 / 5 = 640 RPM);
    // field 1 is formula 5 with a = 0x64, b = 0xA0 (100 * 160 / 10 - 10 * 100 = 600 ºC).
    LiveItem i = vagItem("VAG", block("E7"), "0");
    decodeItem(i, {}, "", vagDecoder());
    EXPECT_EQ(i.value, "640");
    EXPECT_EQ(i.unit, "RPM");
    i = vagItem("VAG", block("E7"));
    decodeItem(i, {}, "", vagDecoder());
    EXPECT_EQ(i.value, "600");
    EXPECT_EQ(i.unit, "ºC");
    // A CAN answer starts one byte later: the same fields one byte to the left.
    i = vagItem("VAGCAN", block("E7").substr(2) + "00", "1");
    decodeItem(i, {}, "", vagDecoder());
    EXPECT_EQ(i.value, "600");
    // A field beyond the answer stays unknown and keeps the catalogue's unit.
    i = vagItem("VAG", block("E7"), "5");
    decodeItem(i, {}, "", vagDecoder());
    EXPECT_EQ(i.value, "???");
    EXPECT_EQ(i.unit, "\"RPM\"");
    // A dynamic data block without a descriptor for its field.
    i = vagItem("VAG", block("F4"));
    decodeItem(i, Bytes{0x0F, 0x02, 0x02}, "", vagDecoder());
    EXPECT_EQ(i.value, "???");
}

TEST(ItemDecoding, OtherKindsAndDemonstrationUseTheGenericRules) {
    const RecordingVagDecoder rec;
    LiveItem i = vagItem("VAG ", block("E7"), "3");  // not exactly "VAG": hexadecimal
    decodeItem(i, {}, "", rec);
    EXPECT_EQ(i.value, block("E7"));
    i = vagItem("CAL *2;0", "0110FF", "1");
    decodeItem(i, {}, "", rec);
    EXPECT_EQ(i.value, "32");
    i = vagItem("VAG", block("E7"), "3");
    decodeItemGeneric(i, "");
    EXPECT_EQ(i.value, block("E7"));
    EXPECT_EQ(i.unit, "\"RPM\"");
}

TEST(LiveRequests, FramesOfOneAndThreePartRequests) {
    RequestParts p = splitRequest("2101");
    EXPECT_EQ(p.main, (Bytes{0x21, 0x01}));
    EXPECT_TRUE(p.pre.empty() && p.post.empty());
    p = splitRequest("@1A80@2101@3E");
    EXPECT_EQ(p.pre, (Bytes{0x1A, 0x80}));
    EXPECT_EQ(p.main, (Bytes{0x21, 0x01}));
    EXPECT_EQ(p.post, (Bytes{0x3E}));
    p = splitRequest("@@2101@3E");
    EXPECT_TRUE(p.pre.empty());
    EXPECT_EQ(p.main, (Bytes{0x21, 0x01}));
    p = splitRequest("@10@21");  // no post part
    EXPECT_EQ(p.main, (Bytes{0x21}));
    EXPECT_TRUE(p.post.empty());

    EXPECT_EQ(ecuRequestFrame(Bytes{0x21, 0x01}), (Bytes{0x80, 0x03, 0x20, 0x00, 0x21, 0x01}));
    EXPECT_EQ(ecuRequestFrame({}), (Bytes{0x80, 0x01, 0x20, 0x00}));
    EXPECT_EQ(maintenanceStopFrame(), (Bytes{0x80, 0x05, 0x86, 0x00, 0x04, 0x00, 0x29, 0x00}));
    EXPECT_EQ(acknowledgeFrame(), (Bytes{0x80, 0x04, 0x20, 0x00, 0x03, 0x00, 0x09}));
    EXPECT_EQ(maintenanceStartFrame(0x07), (Bytes{0x80, 0x05, 0x86, 0x01, 0x04, 0x00, 0x29, 0x07}));
    EXPECT_EQ(maintenanceAcknowledgeFrame(), (Bytes{0x80, 0x04, 0x86, 0x01, 0x03, 0x00, 0x09}));

    EXPECT_EQ(answerText(Bytes{0x80, 0x04, 0x20, 0x00, 0x61, 0x01, 0xC4}, 7), "6101");
    EXPECT_EQ(answerText(Bytes{0x00, 0x00, 0x0A, 0x0A}, 4), "");
    EXPECT_EQ(answerText(Bytes{0x80, 0x04, 0x20}, 0), "");
}

TEST(LiveRequests, TableHoldsEachSelectedRequestOnce) {
    std::vector<LiveItem> items(4);
    const char* requests[] = {"2101", "2102", "2101", "2103"};
    for (size_t k = 0; k < items.size(); ++k) {
        items[k].request = requests[k];
        items[k].selected = k == 3 ? "FALSE" : "TRUE";
    }
    RequestTable table(items);
    EXPECT_EQ(table.size(), 2u);
    ASSERT_NE(table.find("2101"), nullptr);
    EXPECT_EQ(table.find("2103"), nullptr);
    table.find("2101")->answer = "6101";
    table.find("2101")->header = {0x02};
    table.clearAnswers();
    EXPECT_EQ(table.find("2101")->answer, "");
    EXPECT_EQ(table.find("2101")->header, (Bytes{0x02}));  // kept across cycles
}

}  // namespace
}  // namespace corvan::livedata
