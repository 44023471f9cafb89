// The block requests as the box carries them and the readings of the unit's replies.
#include "plugins/vagkline/block_requests.h"

#include <gtest/gtest.h>

#include "runtime/hex_text.h"

namespace corvan::vagkline {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes bytes(std::string_view hexText) {
    return hexToBytes(hexText);
}

TEST(KeepAliveRequests, TheBoxMessageIsSentBackWithItsCountByte) {
    // 80 05 85, repeating, message 03 00 09 00 (and the check byte after it).
    const Bytes reply = bytes("80058501030009008F");
    const KeepAliveRequests r = keepAliveRequests(reply, static_cast<int>(reply.size()));
    EXPECT_EQ(r.acknowledge, bytes("8005200003000900"));
    EXPECT_EQ(r.keepAliveOff, bytes("8005860003000900"));
    EXPECT_EQ(r.keepAliveOn, bytes("8005860103000900"));

    // A KWP keep-alive keeps its own length.
    const Bytes kwp = bytes(
        "80058500"
        "8117F13E"
        "00");
    EXPECT_EQ(keepAliveRequests(kwp, 9).acknowledge, bytes("80052000"
                                                           "8117F13E"));
}

TEST(KeepAliveRequests, PresetsWhenTheBoxGivesNoMessage) {
    const KeepAliveRequests preset = presetKeepAliveRequests();
    EXPECT_EQ(preset.acknowledge, bytes("8005200000000000"));
    EXPECT_EQ(preset.keepAliveOff, bytes("8005860003000900"));
    EXPECT_EQ(preset.keepAliveOn, bytes("8005860103000900"));
    const Bytes noAnswer = bytes("00000A0A");
    const Bytes empty = bytes("8001850004");               // a box holding no message
    const Bytes otherCommand = bytes("80017F85");          // refused by the loader
    const Bytes shortFrame = bytes("80058501030009008F");  // but only 5 bytes came
    for (const auto& [reply, length] : std::vector<std::pair<Bytes, int>>{
             {noAnswer, 4}, {empty, 5}, {otherCommand, 4}, {shortFrame, 5}, {shortFrame, 0}}) {
        const KeepAliveRequests r = keepAliveRequests(reply, length);
        EXPECT_EQ(r.acknowledge, preset.acknowledge) << bytesToHex(reply) << " " << length;
        EXPECT_EQ(r.keepAliveOn, preset.keepAliveOn);
    }
}

TEST(BlockRequests, IdentificationFromTheDataKey) {
    EXPECT_EQ(identificationRequest("<MNU\r\n\tDATA=\t[03000000]\r\n>"), bytes("8005200003000000"));
    // The first key counts; lower-case digits are worth 0, a lone last digit is dropped.
    EXPECT_EQ(identificationRequest("DATA=[0a1B2] DATA=[FF]"), bytes("80032000001B"));
    EXPECT_EQ(identificationRequest("no key here"), bytes("80012000"));
    // A value longer than one count byte can announce is cut.
    const Bytes longest = identificationRequest("DATA=[" + std::string(600, 'A') + "]");
    EXPECT_EQ(longest.size(), 4u + 254u);
    EXPECT_EQ(longest[1], 0xFF);
}

TEST(BlockRequests, CodingAndLoginBlocks) {
    EXPECT_EQ(codingRequest(32767, 0x1234), bytes("80082000070010FFFE1234"));
    EXPECT_EQ(codingRequest(0, 0), bytes("8008200007001000000000"));
    EXPECT_EQ(codingRequest(1234, 56789), bytes("8008200007001009A4DDD5"));
    EXPECT_EQ(loginRequest(0x869F, 0x04D2), bytes("800920000800"
                                                  "2B869F0004D2"));
}

TEST(BlockReplies, CodingDataOfTheFourthBlockAndTheWorkshopCodeSent) {
    // 80 08 20 00, then 08 03 F6 00 09 A4 16 2E.
    const CodingData d = codingDataOf(bytes("800820000803F60009A4162E"));
    EXPECT_EQ(d.coding, 1234);
    EXPECT_EQ(d.workshopCode, 5678);
    EXPECT_EQ(codingDataOf(bytes("80")).coding, 0);  // too short: zeros, no read past it
    EXPECT_EQ(workshopCodeToSend(5678, 1234), 5678);
    EXPECT_EQ(workshopCodeToSend(0, 1234), 1234);
    EXPECT_EQ(workshopCodeToSend(std::nullopt, 1234), 1234);
}

TEST(TypedNumbers, DigitsUpToTheFirstOtherCharacterWithoutWrapping) {
    EXPECT_EQ(typedNumber(""), 0u);
    EXPECT_EQ(typedNumber("32768"), 32768u);
    EXPECT_EQ(typedNumber("12a4"), 12u);
    EXPECT_EQ(typedNumber("99999999999999999999"), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace corvan::vagkline
