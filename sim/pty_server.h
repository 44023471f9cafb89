#pragma once
// Serving the simulated box on a pseudo-terminal in real time, so that the real serial code
// path (termios port, PORT= set to the slave's path) can be driven without a box.
#include <csignal>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "sim/varbox.h"

namespace corvan::sim {

// A pseudo-terminal pair: the box serves the master; the host opens `path()`. The slave
// stays open here too (set raw), so the master never sees a hang-up between two host
// sessions and the line settings survive them.
class PtyEndpoint {
  public:
    static std::optional<PtyEndpoint> open(std::string* error);
    PtyEndpoint(PtyEndpoint&& o) noexcept;
    PtyEndpoint& operator=(PtyEndpoint&&) = delete;
    ~PtyEndpoint();

    int master() const { return master_; }
    const std::string& path() const { return path_; }
    // Closes both ends: the host's reads see the line hang up.
    void hangUp();

  private:
    PtyEndpoint(int master, int slave, std::string path)
        : master_(master), slave_(slave), path_(std::move(path)) {}
    int master_ = -1, slave_ = -1;
    std::string path_;
};

struct ServeOptions {
    double idleExitSeconds = 0;  // > 0: end after this long without a byte from the host
    // >= 0: hang up once this many frames were answered (a little after the last reply,
    // or at once when another frame comes).
    int64_t hangupAfterFrames = -1;
    bool trace = false;  // frames and replies on stderr
};

enum class ServeEnd { Stopped, Idle, HungUp, Failed };

// Runs until `stop` becomes non-zero (a signal handler sets it), the idle time passes, or
// the box hangs up. SIGTERM and SIGINT should be blocked by the caller: they are let
// through only while the loop waits, so a signal cannot slip between check and wait.
ServeEnd servePty(Varbox& box, Clock& clock, int masterFd, const ServeOptions& options,
                  const volatile std::sig_atomic_t& stop);
// The same with `front` between the line and the box (the terminal's Bluetooth serial
// module): the host's bytes go to `front`, which passes them on to `box` when it does.
ServeEnd servePty(ByteDevice& front, Varbox& box, Clock& clock, int masterFd,
                  const ServeOptions& options, const volatile std::sig_atomic_t& stop);

}  // namespace corvan::sim
