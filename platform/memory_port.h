#pragma once
// An in-memory serial line for tests and for the built-in simulator. The host end is a
// SerialPort; the device end is a ByteDevice that receives what the host writes and
// schedules its reply bytes at moments on the clock. A one-byte read on the host end takes
// the next byte whose moment has come, waits on the clock for one due within the read
// time-out, or lets the whole time-out pass on the clock and reports no byte.
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

#include "platform/clock.h"
#include "platform/serial_port.h"

namespace corvan {

// Bytes travelling towards the host, each available from a moment (microseconds on the
// line's clock).
class ByteQueue {
  public:
    void push(uint8_t byte, int64_t availableAtUs) { q_.push_back({byte, availableAtUs}); }
    bool empty() const { return q_.empty(); }
    size_t size() const { return q_.size(); }
    int64_t frontTime() const { return q_.front().at; }
    uint8_t pop() {
        const uint8_t b = q_.front().byte;
        q_.pop_front();
        return b;
    }
    void clear() { q_.clear(); }

  private:
    struct Item {
        uint8_t byte;
        int64_t at;
    };
    std::deque<Item> q_;
};

// The far end of the line.
class ByteDevice {
  public:
    virtual ~ByteDevice() = default;
    // The host wrote these bytes at `nowUs`; the device may push reply bytes into `out`.
    virtual void received(std::span<const uint8_t> bytes, int64_t nowUs, ByteQueue& out) = 0;
    // Called before each host read so a device can produce bytes on its own (endless
    // streams, keep-alive traffic). Default: nothing.
    virtual void poll(int64_t /*nowUs*/, ByteQueue& /*out*/) {}
    // When the line will have carried everything the host wrote until `nowUs` (later than
    // `nowUs` only for a device that paces the bytes at the line rate).
    virtual int64_t takenAtUs(int64_t nowUs) const { return nowUs; }
    // The line was hung up by the device.
    virtual bool hungUp() const { return false; }
    // The host opens the line again after a hang-up; true when the device is back.
    virtual bool reconnect() { return !hungUp(); }
};

class MemoryPort final : public SerialPort {
  public:
    MemoryPort(Clock& clock, ByteDevice& device) : clock_(clock), device_(device) {}

    bool write(const uint8_t* data, size_t n, size_t& written) override;
    bool readByte(uint8_t& byte, size_t& got) override;
    bool drain() override;
    void announceWrites(std::span<const uint8_t> bytes) override {
        announced_.emplace_back(bytes.begin(), bytes.end());
    }
    void setReadTimeoutMs(int ms) override { timeoutMs_ = ms; }
    int readTimeoutMs() const override { return timeoutMs_; }
    bool lost() const override { return device_.hungUp(); }
    // Asks the device to come back; bytes still on their way before the hang-up are gone.
    bool reopen(std::string* error) override;

    // Every byte the host has written, in order (tests check the wire with it).
    const std::vector<uint8_t>& written() const { return written_; }
    // Bytes still waiting for the host.
    ByteQueue& pending() { return toHost_; }
    // Each run of one-byte writes the host announced.
    const std::vector<std::vector<uint8_t>>& announced() const { return announced_; }

  private:
    Clock& clock_;
    ByteDevice& device_;
    ByteQueue toHost_;
    std::vector<uint8_t> written_;
    std::vector<std::vector<uint8_t>> announced_;
    int timeoutMs_ = 80;
};

// A device that answers nothing by itself: tests push bytes into it and read what the host
// wrote. Bytes pushed with `reply` become available at once (or after `delayUs`).
class ScriptedDevice final : public ByteDevice {
  public:
    void received(std::span<const uint8_t> bytes, int64_t nowUs, ByteQueue& out) override;
    // Bytes queued here are delivered after the host's next write.
    void replyOnNextWrite(std::vector<uint8_t> bytes) { replies_.push_back(std::move(bytes)); }
    std::vector<uint8_t> fromHost;  // every byte the host wrote

  private:
    std::deque<std::vector<uint8_t>> replies_;
};

}  // namespace corvan
