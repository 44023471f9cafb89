#include "runtime/commands.h"

#include "runtime/frame.h"

namespace corvan::cmd {

std::vector<uint8_t> request(uint8_t command, std::span<const uint8_t> data, bool flag) {
    std::vector<uint8_t> r;
    r.reserve(data.size() + 4);
    r.push_back(static_cast<uint8_t>((flag ? frame::kFlag : 0) | ((data.size() >> 8) & 0x7F)));
    r.push_back(static_cast<uint8_t>(data.size() & 0xFF));
    r.push_back(command);
    r.insert(r.end(), data.begin(), data.end());
    return r;
}

std::vector<uint8_t> ecuRequest(std::span<const uint8_t> message) {
    std::vector<uint8_t> data;
    data.reserve(message.size() + 1);
    data.push_back(0x00);
    data.insert(data.end(), message.begin(), message.end());
    return request(kEcuMessage, data);
}

std::vector<uint8_t> driverNameRequest(bool flag) {
    return request(kDriverName, {}, flag);
}
std::vector<uint8_t> programStateRequest() {
    return request(kProgramState, {}, false);
}

std::vector<uint8_t> memorySetupRequest(std::span<const uint8_t, 4> data) {
    return request(kMemorySetup, data, false);
}

std::vector<uint8_t> downloadBlockRequest(std::span<const uint8_t, kDownloadBlockSize> block) {
    return request(kDownloadBlock, block, false);
}

std::vector<uint8_t> downloadEndRequest() {
    const uint8_t data[] = {0xEA, 0x00, 0x00, 0x00, 0x02};
    return request(kDownloadBlock, data, false);
}

std::vector<uint8_t> startProgramRequest() {
    return request(kStartProgram, {}, false);
}

std::vector<uint8_t> writeConfigRequest(std::span<const uint8_t, kConfigSize> config) {
    return request(kWriteConfig, config);
}

std::vector<uint8_t> readConfigRequest() {
    return request(kReadConfig, {});
}
std::vector<uint8_t> connectionStatusRequest() {
    return request(kConnectionStatus, {});
}

std::vector<uint8_t> readRegisterRequest(uint8_t reg) {
    const uint8_t data[] = {reg};
    return request(kReadRegister, data);
}

std::vector<uint8_t> writeRegisterRequest(uint8_t reg, uint8_t value) {
    const uint8_t data[] = {0x01, reg, 0x00, value};
    return request(kWriteRegister, data);
}

std::vector<uint8_t> readKeepAliveRequest() {
    return request(kReadKeepAlive, {});
}

std::vector<uint8_t> keepAliveRequest(bool on, std::span<const uint8_t> message) {
    std::vector<uint8_t> data;
    data.reserve(message.size() + 1);
    data.push_back(on ? 0x01 : 0x00);
    data.insert(data.end(), message.begin(), message.end());
    return request(kSetKeepAlive, data);
}

std::vector<uint8_t> resetRequest() {
    return request(kReset, {});
}
std::vector<uint8_t> probeAdapterRequest() {
    return request(kProbeAdapter, {});
}

std::span<const uint8_t> ecuAnswer(std::span<const uint8_t> reply, int length) {
    if (length < 5 || reply.size() < static_cast<size_t>(length)) return {};
    return reply.subspan(4, static_cast<size_t>(length) - 5);
}

}  // namespace corvan::cmd
