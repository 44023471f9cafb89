// The self-test's bytes: the requests, the code letters, the result pairs and the erase
// answer, without a box.
#include "plugins/faultcodes/self_test_protocol.h"

#include <gtest/gtest.h>

#include "engine/dtcbase/testing/dtc_test_rig.h"
#include "runtime/hex_text.h"

namespace corvan::faultcodes {
namespace {

using testing::hexBytes;
using testing::withCheck;

// A results reply frame around the ECU's answer.
std::vector<uint8_t> resultsReply(std::string_view answer) {
    const auto a = hexBytes(answer);
    return withCheck("80 " + byteToHex(static_cast<uint8_t>(a.size() + 1)) + " 20 00 " +
                     std::string(answer));
}
int len(const std::vector<uint8_t>& v) {
    return static_cast<int>(v.size());
}

TEST(SelfTestProtocol, RequestsOfTheRoutine) {
    EXPECT_EQ(preReadRequest(), hexBytes("80 07 20 00 C4 10 FA 22 02 00"));
    EXPECT_EQ(startRequest(0x82), hexBytes("80 07 20 00 C4 10 FA 31 82 00"));
    EXPECT_EQ(watchRequest(0x81), hexBytes("80 07 20 00 C4 10 FA 32 81 00"));
    EXPECT_EQ(resultsRequest(0x82), hexBytes("80 07 20 FF C4 10 FA 33 82 00"));
    EXPECT_EQ(eraseRequest("C410FA14FF00"), hexBytes("80 07 20 00 C4 10 FA 14 FF 00"));
    EXPECT_EQ(eraseRequest("c4"), hexBytes("80 02 20 00 04"));  // lower case counts as 0
    EXPECT_TRUE(eraseRequest("").empty());
}

TEST(SelfTestProtocol, CodeLettersFromTheTopBits) {
    EXPECT_EQ(letteredCode(0xC1, 0x23), "N0123");
    EXPECT_EQ(letteredCode(0x81, 0x23), "B0123");
    EXPECT_EQ(letteredCode(0x41, 0x23), "C0123");
    EXPECT_EQ(letteredCode(0x3F, 0xFF), "P3FFF");
    EXPECT_EQ(resultPairCode(0x01, 0x00), "P0100");
    EXPECT_FALSE(resultPairCode(0x00, 0x00));
    EXPECT_FALSE(resultPairCode(0xC0, 0x00));  // a letter but no number
}

TEST(SelfTestProtocol, ResultPairsWithAndWithoutDefinitions) {
    // Byte 1 = 9: two pairs; only 01 00 is a code.
    const auto reply = resultsReply("84 FA 10 73 01 00 00 00");
    ASSERT_EQ(reply[1], 9);
    const auto unknown = resultCodes(reply, len(reply), "");
    ASSERT_EQ(unknown.size(), 1u);
    EXPECT_EQ(unknown[0], (TroubleCode{"P0100", std::string(kUnidentifiedDescription),
                                       "84FA107301000000", "AUTOTEST", ""}));

    const auto known =
        resultCodes(reply, len(reply), "[P0100][\"Mass air flow\"][\"Connector\"][3]");
    ASSERT_EQ(known.size(), 1u);
    EXPECT_EQ(known[0], (TroubleCode{"P0100", "Mass air flow", "Connector", "AUTOTEST", "3"}));

    EXPECT_TRUE(resultCodes(resultsReply("84 FA 10 73"), 9, "").empty());
    EXPECT_TRUE(resultCodes(reply, 0, "").empty());  // no reply at all
}

TEST(SelfTestProtocol, NeverMoreThanThirtyAndNeverPastTheReply) {
    std::string answer = "84 FA 10 73";
    for (int i = 1; i <= 31; ++i) answer += " 01 " + byteToHex(static_cast<uint8_t>(i));
    const auto many = resultsReply(answer);
    const auto codes = resultCodes(many, len(many), "");
    ASSERT_EQ(codes.size(), kMaxCodes);
    EXPECT_EQ(codes.back().code, "P011E");  // the 31st pair, P011F, is dropped

    // A header announcing 40 data bytes of which 6 came: only what came is read.
    std::vector<uint8_t> cut = hexBytes("80 28 20 00 84 FA 10 73 01 07 00 00 00 00");
    const int got = 12;  // the last two bytes of the buffer never arrived
    const auto shortCodes = resultCodes(cut, got, "");
    ASSERT_EQ(shortCodes.size(), 1u);
    EXPECT_EQ(shortCodes[0].code, "P0107");
    EXPECT_EQ(shortCodes[0].detail, "84FA1073010700");
}

TEST(SelfTestProtocol, RefusalsAndTheEraseAnswer) {
    EXPECT_TRUE(resultsRefused(resultsReply("83 FA 10 7F 33 22"), 11));
    EXPECT_FALSE(resultsRefused(resultsReply("84 FA 10 73 01 00 00 00"), 13));
    const auto erase = eraseRequest("C410FA14FF00");
    EXPECT_TRUE(eraseAccepted(erase, resultsReply("83 FA 10 54 FF 00"), 11));
    EXPECT_FALSE(eraseAccepted(erase, resultsReply("83 FA 10 7F 14 22"), 11));
    EXPECT_FALSE(eraseAccepted(erase, resultsReply("83 FA 10 54 FF 00"), 0));
    EXPECT_FALSE(eraseAccepted(eraseRequest("14"), resultsReply("83 FA 10 54"), 9));
    // Bytes of an earlier reply left in the buffer past what came are never read.
    const auto stale = resultsReply("83 FA 10 54 FF 00");
    EXPECT_FALSE(eraseAccepted(erase, stale, 7));
    EXPECT_FALSE(resultsRefused(resultsReply("83 FA 10 7F 33 22"), 7));
}

}  // namespace
}  // namespace corvan::faultcodes
