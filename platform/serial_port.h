#pragma once
// The serial line to the Varbox as the runtime sees it: whole writes, one-byte reads bounded
// by the port's read time-out. A read that times out reports 0 bytes, never blocks for ever.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace corvan {

class SerialPort {
  public:
    virtual ~SerialPort() = default;

    // Writes n bytes; `written` is the count the port accepted. Returns false on failure.
    virtual bool write(const uint8_t* data, size_t n, size_t& written) = 0;

    // The caller is about to write these bytes with a one-byte write each, back to back (a
    // frame in the byte-wise form). A port whose every write costs a system call may put
    // them on the line at the first of those writes and answer the others from what the line
    // took; what each write reports, and what reaches the line, stay the same. Any other
    // call ends the announcement. A hint only: the default ignores it.
    virtual void announceWrites(std::span<const uint8_t> bytes) { (void)bytes; }

    // Waits until the bytes written so far have left on the line, as the terminal's own
    // port does before a whole-frame write returns (its write time-out runs with the
    // line): the reads of the reply then start when the frame is out, not while it is
    // still being sent. Gives up after the line's time for what is queued plus a second;
    // false when the line failed meanwhile. A line that cannot tell returns at once.
    virtual bool drain() { return !lost(); }

    // The caller is about to read `n` bytes that the far end is sending now (the rest of a
    // frame whose length it has read). A port that is woken by every byte may then wait
    // for the bytes still on the line and take them in one go; what each read returns, and
    // when a silent line ends a read, stay the same. A hint only: the default ignores it.
    virtual void expect(size_t n) { (void)n; }

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
