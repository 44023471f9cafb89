// The AT exchange with the Bluetooth module and the reading of its inquiry list, on an
// in-memory line whose far end answers with bytes at chosen moments.
#include "tools/boxservice/at_exchange.h"

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/memory_port.h"
#include "tools/boxservice/bt_devices.h"
#include "tools/boxservice/service_setup.h"

namespace corvan::boxservice {
namespace {

// Answers the host's first write with `parts`: each text after its delay (ms) from the
// previous one. Can refuse writes, like a line that was lost.
struct Module final : ByteDevice {
    std::vector<std::pair<int, std::string>> parts;
    std::string heard;
    bool dead = false;
    void received(std::span<const uint8_t> bytes, int64_t now, ByteQueue& out) override {
        const bool first = heard.empty();
        heard.append(bytes.begin(), bytes.end());
        if (!first) return;
        int64_t at = now;
        for (const auto& [delayMs, text] : parts) {
            at += int64_t(delayMs) * 1000;
            for (char c : text) out.push(uint8_t(c), at);
        }
    }
    bool hungUp() const override { return dead; }
};

struct Line {
    Line() { port.setReadTimeoutMs(oneByteReadTimeoutMs()); }
    AtAnswer send(std::string_view command, int quiet) {
        start = clock.nowUs();
        return sendAtCommand(port, clock, command, quiet);
    }
    int64_t elapsedMs() const { return (clock.nowUs() - start) / 1000; }
    VirtualClock clock;
    Module module;
    MemoryPort port{clock, module};
    int64_t start = 0;
};

TEST(AtExchange, AQuietCountEndsTheAnswerAndAnyByteStartsItAgain) {
    Line line;
    // A pause shorter than five empty reads (5 x 100 ms) does not end the answer.
    line.module.parts = {{40, "\r\nOK"}, {350, "\r\n"}, {2000, "late"}};
    const AtAnswer a = line.send("AT+ZM3\r", 5);
    EXPECT_TRUE(a.ok);
    EXPECT_EQ(a.text, "\r\nOK\r\n");
    EXPECT_EQ(line.module.heard, "AT+ZM3\r");
    // 100 ms after the send, the bytes up to 390 ms, then five empty reads of 90 + 10 ms.
    EXPECT_GE(line.elapsedMs(), 390 + 5 * 100);
    EXPECT_LT(line.elapsedMs(), 390 + 6 * 100);
    EXPECT_TRUE(answerHas(a, "OK"));
    EXPECT_FALSE(answerHas(a, "ERR"));
}

TEST(AtExchange, SilenceGivesNoAnswerAfterTheQuietCount) {
    Line line;
    const AtAnswer a = line.send("AT+ZV", 20);
    EXPECT_FALSE(a.ok);
    EXPECT_EQ(a.text, "");
    EXPECT_EQ(line.elapsedMs(), 100 + 20 * 100);
}

TEST(AtExchange, ZeroBytesBecomeBlanks) {
    Line line;
    line.module.parts = {{10, std::string("V2.4\0\0OK", 8)}};
    EXPECT_EQ(line.send("AT+ZV", 20).text, "V2.4  OK");
}

TEST(AtExchange, TheInquiryReadsUntilEoiThroughLongPauses) {
    Line line;
    // Devices answer seconds apart: each byte may take up to 300 empty reads (27 s here).
    line.module.parts = {{5000, "0012F3A1B2C4,VARBOX\r\n"}, {9000, "EOI\r\n"}, {10, "after"}};
    const AtAnswer a = line.send("AT+ZI15,L\r", 0);
    EXPECT_EQ(a.text, "0012F3A1B2C4,VARBOX\r\nEOI");
    EXPECT_GE(line.elapsedMs(), 14000);
    EXPECT_LT(line.elapsedMs(), 14200);

    // Without "EOI" the reading ends after 300 empty reads, 1 ms apart.
    Line silent;
    silent.module.parts = {{10, "0012F3A1B2C4"}};
    const AtAnswer b = silent.send("AT+ZI15,L\r", 0);
    EXPECT_EQ(b.text, "0012F3A1B2C4");
    EXPECT_EQ(silent.elapsedMs(), 100 + 300 * 91);
}

TEST(AtExchange, AFailedWriteEndsWithNoAnswerAndAnEndlessStreamIsCut) {
    Line lost;
    lost.module.dead = true;
    lost.module.parts = {{0, "OK"}};
    const AtAnswer a = lost.send("AT+ZV", 20);
    EXPECT_FALSE(a.ok);
    EXPECT_EQ(lost.elapsedMs(), 0);  // not even the pause after the send

    Line chatty;
    chatty.module.parts = {{1, std::string(40000, 'x')}};
    EXPECT_EQ(chatty.send("AT+ZV", 20).text.size(), kMaxAnswer);
    Line chattyInquiry;
    chattyInquiry.module.parts = {{1, std::string(40000, 'E')}};
    EXPECT_EQ(chattyInquiry.send("AT+ZI15,L\r", 0).text.size(), kMaxAnswer);
}

TEST(AtExchange, EachCharacterGoesOutAsItsLowByte) {
    EXPECT_EQ(atCommandBytes("AT+ZE12\r"),
              (std::vector<uint8_t>{'A', 'T', '+', 'Z', 'E', '1', '2', '\r'}));
    // "ñ" is U+00F1, "€" U+20AC, and a stray continuation byte stays one byte.
    EXPECT_EQ(atCommandBytes("\xC3\xB1\xE2\x82\xAC\x80"), (std::vector<uint8_t>{0xF1, 0xAC, 0x80}));
}

TEST(InquiryList, EntriesBeginWithTheDeviceAddress) {
    // 15 characters or fewer hold no device, whatever they are.
    EXPECT_TRUE(inquiryDevices("EOI\r\n").empty());
    EXPECT_TRUE(inquiryDevices("0012F3A1B2C4EOI").empty());
    const auto two = inquiryDevices(
        "AT+ZI15,L\r\nOK\r\n0012F3A1B2C4,VARBOX 0412\r\n"
        "00025b00a5a5,PHONE\r\nEOI\r\n");
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0], "0012F3A1B2C4,VARBOX 0412");
    EXPECT_EQ(deviceAddress(two[1]), "00025b00a5a5");
    EXPECT_TRUE(inquiryDevices("no device answered at all\r\nEOI").empty());

    std::string many;
    for (int i = 0; i < 14; ++i) many += "0012F3A1B2" + std::to_string(10 + i) + ",BOX\r\n";
    const auto ten = inquiryDevices(many + "EOI");
    ASSERT_EQ(ten.size(), kMaxDevices);
    EXPECT_EQ(deviceAddress(ten[9]), "0012F3A1B219");
}

}  // namespace
}  // namespace corvan::boxservice
