#pragma once
// The serial line to the Varbox as the runtime sees it: whole writes, one-byte reads bounded
// by the port's read time-out. A read that times out reports 0 bytes, never blocks for ever.
#include <cstddef>
#include <cstdint>
#include <string>

namespace corvan {

class SerialPort {
  public:
    virtual ~SerialPort() = default;

    // Writes n bytes; `written` is the count the port accepted. Returns false on failure.
    virtual bool write(const uint8_t* data, size_t n, size_t& written) = 0;

    // Reads at most one byte, waiting up to the read time-out. Returns false when the read
    // call itself failed (a lost link); `got` is 1 when a byte arrived, else 0.
    virtual bool readByte(uint8_t& byte, size_t& got) = 0;

    // The time-out of one one-byte read, in milliseconds.
    virtual void setReadTimeoutMs(int ms) = 0;
    virtual int readTimeoutMs() const = 0;

    // True once the line has hung up or failed; reads then fail at once.
    virtual bool lost() const = 0;

    // Opens a lost line again (a dropped Bluetooth link or a re-plugged adapter can come
    // back); true when it is usable again, false with `error` set when it is not.
    virtual bool reopen(std::string* error) {
        if (error) *error = "this line cannot be opened again";
        return false;
    }
};

}  // namespace corvan
