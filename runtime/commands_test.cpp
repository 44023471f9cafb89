#include "runtime/commands.h"

#include <gtest/gtest.h>

#include <array>

using Bytes = std::vector<uint8_t>;

namespace corvan::cmd {
namespace {

TEST(Commands, RequestsHaveTheLayoutsTheBoxExpects) {
    const uint8_t msg[] = {0x1A, 0x80};
    EXPECT_EQ(ecuRequest(msg), (Bytes{0x80, 0x03, 0x20, 0x00, 0x1A, 0x80}));
    EXPECT_EQ(driverNameRequest(), (Bytes{0x80, 0x00, 0x0F}));
    EXPECT_EQ(driverNameRequest(false), (Bytes{0x00, 0x00, 0x0F}));
    EXPECT_EQ(programStateRequest(), (Bytes{0x00, 0x00, 0x13}));
    EXPECT_EQ(downloadEndRequest(), (Bytes{0x00, 0x05, 0x1A, 0xEA, 0x00, 0x00, 0x00, 0x02}));
    EXPECT_EQ(startProgramRequest(), (Bytes{0x00, 0x00, 0xF0}));
    EXPECT_EQ(connectionStatusRequest(), (Bytes{0x80, 0x00, 0x82}));
    EXPECT_EQ(readRegisterRequest(8), (Bytes{0x80, 0x01, 0x83, 0x08}));
    EXPECT_EQ(writeRegisterRequest(16, 0x2E), (Bytes{0x80, 0x04, 0x84, 0x01, 0x10, 0x00, 0x2E}));
    EXPECT_EQ(keepAliveRequest(true, msg), (Bytes{0x80, 0x03, 0x86, 0x01, 0x1A, 0x80}));
    EXPECT_EQ(resetRequest(), (Bytes{0x80, 0x00, 0x88}));
    EXPECT_EQ(probeAdapterRequest(), (Bytes{0x80, 0x00, 0x89}));

    const std::array<uint8_t, kDownloadBlockSize> block{};
    const Bytes blockRequest = downloadBlockRequest(block);
    EXPECT_EQ(blockRequest.size(), 259u);
    EXPECT_EQ(Bytes(blockRequest.begin(), blockRequest.begin() + 3), (Bytes{0x01, 0x00, 0x1A}));
    const std::array<uint8_t, kConfigSize> config{};
    const Bytes configRequest = writeConfigRequest(config);
    EXPECT_EQ(configRequest.size(), 43u);
    EXPECT_EQ(Bytes(configRequest.begin(), configRequest.begin() + 3), (Bytes{0x80, 0x28, 0x80}));
}

TEST(Commands, EcuAnswerLiesBetweenByteFourAndTheCheckByte) {
    const Bytes reply{0x80, 0x03, 0x20, 0x00, 0x5A, 0x9B, 0x6C};
    EXPECT_EQ(replyCommand(reply, 7), 0x20);
    EXPECT_EQ(replyCommand(reply, 0), 0x00);
    const auto answer = ecuAnswer(reply, 7);
    EXPECT_EQ(Bytes(answer.begin(), answer.end()), (Bytes{0x5A, 0x9B}));
    EXPECT_TRUE(ecuAnswer(reply, 4).empty());
    EXPECT_TRUE(ecuAnswer(reply, 0).empty());
    EXPECT_TRUE(ecuAnswer(reply, 99).empty());
}

}  // namespace
}  // namespace corvan::cmd
