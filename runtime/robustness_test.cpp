// Random parameter texts and random byte streams (fixed seeds): the runtime must neither
// crash, hang nor read or write outside its buffers (the sanitizer build checks the last).
#include <gtest/gtest.h>

#include <random>

#include "runtime/exchange.h"
#include "runtime/frame.h"
#include "runtime/param_text.h"
#include "runtime/result_text.h"
#include "runtime/testing/link_fixture.h"

namespace corvan {
namespace {

std::string randomText(std::mt19937& rng, size_t maxLength) {
    static constexpr std::string_view kAlphabet = "[]<MNU=ID#\r\n\t @|AF0x\"";
    std::uniform_int_distribution<size_t> length(0, maxLength);
    std::uniform_int_distribution<size_t> pick(0, kAlphabet.size() - 1);
    std::string s(length(rng), ' ');
    for (char& c : s) c = kAlphabet[pick(rng)];
    return s;
}

TEST(Robustness, ParameterTextLookupsOnRandomTexts) {
    std::mt19937 rng(1234);
    for (int i = 0; i < 3000; ++i) {
        const std::string text = randomText(rng, 120);
        const std::string key = randomText(rng, 4);
        std::uniform_int_distribution<int> pos(-20, static_cast<int>(text.size()) + 20);
        const int start = pos(rng);
        const std::string value = GetKeyValue(text, key, start);
        EXPECT_EQ(value.find(']'), std::string::npos);
        if (!value.empty()) {
            EXPECT_NE(text.find("[" + value + "]"), std::string::npos);
        }

        int p = pos(rng);
        for (int fields = 0; fields <= static_cast<int>(text.size()); ++fields) {
            const int before = p;
            const std::string field = readBracket(text, p);
            EXPECT_EQ(field.find(']'), std::string::npos);
            EXPECT_GE(p, 0);
            EXPECT_LE(p, static_cast<int>(text.size()));
            if (p == static_cast<int>(text.size()) || p == before) break;
        }
        (void)sectionText(text, key);
        (void)findAll(text, key, pos(rng), pos(rng));
        (void)hexToBytes(text);
        (void)parseResultRecords(text);
        (void)stripQuotes(key);
    }
}

class RandomLine : public ::testing::Test, protected testing::LinkFixture {};

TEST_F(RandomLine, ReceiveNeverLeavesItsBufferAndOnlyAcceptsGoodFrames) {
    std::mt19937 rng(99);
    std::uniform_int_distribution<int> byte(0, 255), capacity(1, 48), length(0, 80);
    for (int i = 0; i < 4000; ++i) {
        std::vector<uint8_t> stream(length(rng));
        for (auto& b : stream) b = static_cast<uint8_t>(byte(rng));
        // Small length bytes now and then, so that some streams hold frames.
        if (stream.size() > 2 && i % 3 == 0) stream[0] &= 0x80, stream[1] &= 0x0F;
        if (i % 5 == 0) {
            std::vector<uint8_t> data(byte(rng) % 40);
            stream = frame::build(0x20, data, i % 2 == 0);
        }
        port.pending().clear();
        queue(stream);
        std::vector<uint8_t> reply(capacity(rng));  // exact size: overruns are caught
        const int n = ReceiveFrame(link, reply);
        ASSERT_GE(n, 0);
        ASSERT_LE(n, static_cast<int>(reply.size()));
        if (n > 0) {
            EXPECT_EQ(frame::xorOf(std::span<const uint8_t>(reply).first(n)), 0);
            EXPECT_EQ(static_cast<size_t>(n), frame::dataLength(reply[0], reply[1]) + 4);
        } else if (link.lastFailureKind == 1) {
            EXPECT_TRUE(port.pending().empty());
        }
    }
}

TEST_F(RandomLine, ExchangeWithAGarbageBoxEnds) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> byte(0, 255), length(0, 40);
    device.handler = [&](const std::vector<uint8_t>&) {
        std::vector<uint8_t> out(length(rng));
        for (auto& b : out) b = static_cast<uint8_t>(byte(rng));
        return out;
    };
    auto ctx = context();
    const std::vector<uint8_t> request{0x80, 0x01, 0x20, 0x00};
    for (int i = 0; i < 200; ++i) {
        std::vector<uint8_t> reply(1 + i % 40);
        const int n = Exchange(ctx, request, reply, 2, 0.0, 0.2);
        ASSERT_LE(n, static_cast<int>(reply.size()));
        if (n > 0) {
            EXPECT_TRUE(frame::isGood(std::span<const uint8_t>(reply).first(n)));
        }
    }
}

}  // namespace
}  // namespace corvan
