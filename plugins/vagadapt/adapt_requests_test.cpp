// The adaptation's requests, the readings of the unit's replies and the value texts.
#include "plugins/vagadapt/adapt_requests.h"

#include <gtest/gtest.h>

#include "plugins/vagadapt/value_texts.h"
#include "runtime/hex_text.h"

namespace corvan::vagadapt {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytes(std::string_view hexText) {
    return hexToBytes(hexText);
}

TEST(AdaptRequests, EveryRequestAddressesTheUnit) {
    EXPECT_EQ(startRequest(0x17), bytes("800820008417F131B80103"));
    EXPECT_EQ(selectRequest(0x17, 0xFF), bytes("800920008517F131B90103FF"));
    EXPECT_EQ(readRequest(0x17), bytes("800820008417F131BA0103"));
    EXPECT_EQ(stopRequest(0x17), bytes("800820008417F132B80103"));
    EXPECT_EQ(testRequest(0x17, 0xABCD), bytes("800A20008617F131B90103ABCD"));
    const vagkline::WorkshopId by{1, 2, 3, 4, 5, 6};
    EXPECT_EQ(saveRequest(0x17, 0x0102, by), bytes("801020008C17F131BB01030102010203040506"));
}

TEST(AdaptRequests, TargetFromTheBoxKeepAliveMessage) {
    // 80 05 85, repeating, then the message 82 17 F1 3E.
    const Bytes reply = bytes(
        "80058501"
        "8217F13E"
        "00");
    EXPECT_EQ(targetAddress(reply, 9), 0x17);
    EXPECT_EQ(targetAddress(bytes("00000A0A"), 4), 0);
    EXPECT_EQ(targetAddress(reply, 0), 0);  // nothing came
    EXPECT_EQ(targetAddress(bytes("8001850100"), 5), 0);
}

TEST(AdaptReplies, ValueAndTextOfARead) {
    // 80 0D 20 00, then 8C F1 17 71 BA 01 03 1E 00 01 F4 00 25 01 26.
    const Bytes read = bytes(
        "800D2000"
        "8CF11771BA01031E0001F400250126");
    EXPECT_TRUE(accepted(read));
    EXPECT_EQ(currentValue(read), 500);
    EXPECT_EQ(valueTextCode(read), 0x0126);
    Bytes noText = read;
    noText[16] = 0x00;
    EXPECT_EQ(valueTextCode(noText), std::nullopt);
    const Bytes refused = bytes(
        "80042000"
        "83F1177F3133");
    EXPECT_FALSE(accepted(refused));
    EXPECT_EQ(currentValue(bytes("80")), 0);  // short replies read as zeros
    EXPECT_EQ(valueTextCode(bytes("80")), std::nullopt);
}

TEST(ValueTexts, SharedCodesOwnCodesAndTheEnds) {
    EXPECT_EQ(valueText(0), "");
    EXPECT_EQ(valueText(104), "/BLOQUEADO");  // the measuring blocks' text
    EXPECT_EQ(valueText(255), "TUBERIA");
    EXPECT_EQ(valueText(256), "MENOS VOLUMEN >");  // the adaptation's own from here
    EXPECT_EQ(valueText(294), "ADAPTACION");
    EXPECT_EQ(valueText(426), "¿PIN?");
    EXPECT_EQ(valueText(485), "13");
    EXPECT_EQ(valueText(570), "COND. RADIO DSP");
    EXPECT_EQ(valueText(571), std::nullopt);
    EXPECT_EQ(valueText(-1), std::nullopt);
}

}  // namespace
}  // namespace corvan::vagadapt
