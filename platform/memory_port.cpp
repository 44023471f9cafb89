#include "platform/memory_port.h"

namespace corvan {

bool MemoryPort::write(const uint8_t* data, size_t n, size_t& written) {
    written = 0;
    if (device_.hungUp()) return false;
    written_.insert(written_.end(), data, data + n);
    device_.received(std::span<const uint8_t>(data, n), clock_.nowUs(), toHost_);
    written = n;
    return true;
}

bool MemoryPort::readByte(uint8_t& byte, size_t& got) {
    got = 0;
    const int64_t now = clock_.nowUs();
    device_.poll(now, toHost_);
    if (device_.hungUp()) return false;
    const int64_t deadline = now + int64_t(timeoutMs_) * 1000;
    // Devices push in time order, so only the front byte can be due.
    if (!toHost_.empty() && toHost_.frontTime() <= deadline) {
        clock_.sleepUntilUs(toHost_.frontTime());
        byte = toHost_.pop();
        got = 1;
        return true;
    }
    clock_.sleepUntilUs(deadline);
    return true;
}

bool MemoryPort::drain() {
    clock_.sleepUntilUs(device_.takenAtUs(clock_.nowUs()));
    return !device_.hungUp();
}

bool MemoryPort::reopen(std::string* error) {
    if (!device_.reconnect()) {
        if (error) *error = "the simulated line stays hung up";
        return false;
    }
    toHost_.clear();
    return true;
}

void ScriptedDevice::received(std::span<const uint8_t> bytes, int64_t nowUs, ByteQueue& out) {
    fromHost.insert(fromHost.end(), bytes.begin(), bytes.end());
    if (replies_.empty()) return;
    for (uint8_t b : replies_.front()) out.push(b, nowUs);
    replies_.pop_front();
}

}  // namespace corvan
