#pragma once
// The Varbox commands the modules send, and builders of their requests (header, command
// and data, without the check byte: the send appends it). Byte 0 carries the flag bit
// (0x80) where the box expects it; the flag's meaning belongs to the box.
#include <cstdint>
#include <span>
#include <vector>

namespace corvan::cmd {

// Commands (request byte 2).
inline constexpr uint8_t kDriverName = 0x0F;     // name of the running protocol driver
inline constexpr uint8_t kProgramState = 0x13;   // is a downloaded program running
inline constexpr uint8_t kMemorySetup = 0x15;    // memory set-up / jump before and after a download
inline constexpr uint8_t kDownloadBlock = 0x1A;  // one 256-byte block of a driver image, or the end
inline constexpr uint8_t kEcuMessage = 0x20;     // pass a message to the ECU
inline constexpr uint8_t kWriteConfig = 0x80;    // the driver's 40 configuration bytes
inline constexpr uint8_t kReadConfig = 0x81;
inline constexpr uint8_t kConnectionStatus = 0x82;  // reply byte 3: state of the ECU connection
inline constexpr uint8_t kReadRegister = 0x83;  // box registers: line drivers, adapter, reset line
inline constexpr uint8_t kWriteRegister = 0x84;
inline constexpr uint8_t kReadKeepAlive = 0x85;  // the message the box repeats to hold the ECU
inline constexpr uint8_t kSetKeepAlive = 0x86;   // hand it over and switch the repetition
inline constexpr uint8_t kReset = 0x88;          // reset the box and its ECU connection
inline constexpr uint8_t kProbeAdapter = 0x89;   // probe for the adapter cable
inline constexpr uint8_t kStartProgram = 0xF0;   // start the downloaded program

// Reply command bytes the modules test.
inline constexpr uint8_t kReplyNoEcuAnswer = 0x0A;     // the ECU did not answer
inline constexpr uint8_t kReplyConfigAccepted = 0xA0;  // reply to the configuration request

inline constexpr size_t kConfigSize = 40;
inline constexpr size_t kDownloadBlockSize = 256;

// Any request: flag bit, 15-bit data count, command, data.
std::vector<uint8_t> request(uint8_t command, std::span<const uint8_t> data, bool flag = true);

// 80, n+1, 20, 00, message.
std::vector<uint8_t> ecuRequest(std::span<const uint8_t> message);

std::vector<uint8_t> driverNameRequest(bool flag = true);  // 80 00 0F (or 00 00 0F)
std::vector<uint8_t> programStateRequest();                // 00 00 13
std::vector<uint8_t> memorySetupRequest(std::span<const uint8_t, 4> data);  // 00 04 15 + 4
std::vector<uint8_t> downloadBlockRequest(std::span<const uint8_t, kDownloadBlockSize> block);
std::vector<uint8_t> downloadEndRequest();   // 00 05 1A EA 00 00 00 02
std::vector<uint8_t> startProgramRequest();  // 00 00 F0
std::vector<uint8_t> writeConfigRequest(std::span<const uint8_t, kConfigSize> config);
std::vector<uint8_t> readConfigRequest();                               // 80 00 81
std::vector<uint8_t> connectionStatusRequest();                         // 80 00 82
std::vector<uint8_t> readRegisterRequest(uint8_t reg);                  // 80 01 83 a
std::vector<uint8_t> writeRegisterRequest(uint8_t reg, uint8_t value);  // 80 04 84 01 a 00 v
std::vector<uint8_t> readKeepAliveRequest();                            // 80 00 85
// 80, n+1, 86, 01 (on) or 00 (off), message.
std::vector<uint8_t> keepAliveRequest(bool on, std::span<const uint8_t> message);
std::vector<uint8_t> resetRequest();         // 80 00 88
std::vector<uint8_t> probeAdapterRequest();  // 80 00 89

// Reading a reply of `length` bytes (as ReceiveFrame or Exchange returned it).
inline uint8_t replyCommand(std::span<const uint8_t> reply, int length) {
    return length >= 3 && reply.size() >= 3 ? reply[2] : 0;
}
// The ECU's answer: reply bytes 4 .. L+2 (empty when the reply is shorter).
std::span<const uint8_t> ecuAnswer(std::span<const uint8_t> reply, int length);

}  // namespace corvan::cmd
