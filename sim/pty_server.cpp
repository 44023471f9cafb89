#include "sim/pty_server.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "sim/hex_pattern.h"

namespace corvan::sim {
namespace {

constexpr int64_t kMaxWaitUs = 50000;  // keep-alive and idle checks need a regular look
constexpr int64_t kHangUpGraceUs = 200000;

std::string systemError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

void traceBytes(const char* dir, std::span<const uint8_t> bytes) {
    std::fprintf(stderr, "%s %s\n", dir, formatHex(bytes).c_str());
}

}  // namespace

std::optional<PtyEndpoint> PtyEndpoint::open(std::string* error) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) {
        if (error) *error = systemError("posix_openpt");
        return std::nullopt;
    }
    const char* name = nullptr;
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || !(name = ::ptsname(master))) {
        if (error) *error = systemError("pseudo-terminal set-up");
        ::close(master);
        return std::nullopt;
    }
    std::string path = name;
    const int slave = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios t{};
    if (slave < 0 || ::tcgetattr(slave, &t) != 0) {
        if (error) *error = systemError(path.c_str());
        if (slave >= 0) ::close(slave);
        ::close(master);
        return std::nullopt;
    }
    ::cfmakeraw(&t);
    ::cfsetispeed(&t, B9600);
    ::cfsetospeed(&t, B9600);
    ::tcsetattr(slave, TCSANOW, &t);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    return PtyEndpoint(master, slave, std::move(path));
}

PtyEndpoint::PtyEndpoint(PtyEndpoint&& o) noexcept
    : master_(o.master_), slave_(o.slave_), path_(std::move(o.path_)) {
    o.master_ = o.slave_ = -1;
}

PtyEndpoint::~PtyEndpoint() {
    hangUp();
}

void PtyEndpoint::hangUp() {
    if (master_ >= 0) ::close(master_);
    if (slave_ >= 0) ::close(slave_);
    master_ = slave_ = -1;
}

ServeEnd servePty(Varbox& box, Clock& clock, int masterFd, const ServeOptions& options,
                  const volatile std::sig_atomic_t& stop) {
    return servePty(box, box, clock, masterFd, options, stop);
}

ServeEnd servePty(ByteDevice& front, Varbox& box, Clock& clock, int masterFd,
                  const ServeOptions& options, const volatile std::sig_atomic_t& stop) {
    if (options.hangupAfterFrames >= 0) {
        // A frame after the last answered one is not answered: the line goes dead.
        Fault f;
        f.kind = FaultKind::HangUp;
        f.skip = int(std::min<int64_t>(options.hangupAfterFrames, 1 << 30));
        box.inject(f);
    }
    sigset_t waitMask;
    ::sigprocmask(SIG_BLOCK, nullptr, &waitMask);
    ::sigdelset(&waitMask, SIGTERM);
    ::sigdelset(&waitMask, SIGINT);

    ByteQueue queue;
    std::vector<uint8_t> out;  // due bytes the terminal has not taken yet
    int64_t lastInput = clock.nowUs();
    int64_t lastOutput = lastInput;
    uint64_t tracedFrames = 0;
    uint8_t buf[4096];

    for (;;) {
        if (stop) return ServeEnd::Stopped;
        int64_t now = clock.nowUs();
        front.poll(now, queue);
        while (!queue.empty() && queue.frontTime() <= now) out.push_back(queue.pop());
        if (!out.empty()) {
            const ssize_t w = ::write(masterFd, out.data(), out.size());
            if (w > 0) {
                if (options.trace) traceBytes("<", std::span(out.data(), size_t(w)));
                out.erase(out.begin(), out.begin() + w);
                lastOutput = now;
            } else if (w < 0 && errno != EAGAIN && errno != EINTR) {
                return ServeEnd::Failed;
            }
        }
        if (front.hungUp()) return ServeEnd::HungUp;
        // Hang up once the last answered frame's reply had time to be read: closing the
        // terminal at once would throw away bytes the host has not read yet.
        if (options.hangupAfterFrames >= 0 &&
            box.framesReceived() >= uint64_t(options.hangupAfterFrames) && queue.empty() &&
            out.empty() && now - lastOutput >= kHangUpGraceUs)
            return ServeEnd::HungUp;
        if (options.idleExitSeconds > 0 &&
            now - lastInput >= int64_t(options.idleExitSeconds * 1e6))
            return ServeEnd::Idle;

        int64_t waitUs = kMaxWaitUs;
        if (!out.empty())
            waitUs = std::min<int64_t>(waitUs, 5000);
        else if (!queue.empty())
            waitUs = std::clamp<int64_t>(queue.frontTime() - now, 0, kMaxWaitUs);
        const timespec ts{time_t(waitUs / 1000000), long(waitUs % 1000000) * 1000};
        pollfd p{masterFd, short(POLLIN | (out.empty() ? 0 : POLLOUT)), 0};
        const int r = ::ppoll(&p, 1, &ts, &waitMask);
        if (r < 0) {
            if (errno == EINTR) continue;
            return ServeEnd::Failed;
        }
        if (r == 0 || !(p.revents & POLLIN)) {
            // No host on the slave side shows as a hang-up on the master; wait, not spin.
            if (p.revents & (POLLHUP | POLLERR)) clock.sleepUs(20000);
            continue;
        }
        const ssize_t n = ::read(masterFd, buf, sizeof buf);
        if (n <= 0) {
            if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
            clock.sleepUs(20000);  // EIO: the host closed its side for a moment
            continue;
        }
        now = clock.nowUs();
        lastInput = now;
        front.received(std::span<const uint8_t>(buf, size_t(n)), now, queue);
        if (options.trace) {
            const auto& frames = box.frames();
            const uint64_t fresh =
                std::min<uint64_t>(box.framesReceived() - tracedFrames, frames.size());
            for (size_t i = frames.size() - fresh; i < frames.size(); ++i)
                traceBytes(">", frames[i]);
            tracedFrames = box.framesReceived();
        }
    }
}

}  // namespace corvan::sim
