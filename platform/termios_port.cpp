#include "platform/termios_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

namespace corvan {
namespace {

int64_t monotonicUs() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

bool speedFor(int baud, speed_t& speed) {
    switch (baud) {
        case 1200:
            speed = B1200;
            return true;
        case 2400:
            speed = B2400;
            return true;
        case 4800:
            speed = B4800;
            return true;
        case 9600:
            speed = B9600;
            return true;
        case 19200:
            speed = B19200;
            return true;
        case 38400:
            speed = B38400;
            return true;
        case 57600:
            speed = B57600;
            return true;
        case 115200:
            speed = B115200;
            return true;
        case 230400:
            speed = B230400;
            return true;
        default:
            return false;
    }
}

// Waits for `events` on fd until the monotonic deadline; retries on EINTR. Returns the
// revents (0 on time-out) or -1 when poll itself fails.
int pollUntil(int fd, short events, int64_t deadlineUs) {
    for (;;) {
        const int64_t left = deadlineUs - monotonicUs();
        timespec ts{};
        if (left > 0) ts = {time_t(left / 1000000), long(left % 1000000) * 1000};
        pollfd p{fd, events, 0};
        const int r = ::ppoll(&p, 1, &ts, nullptr);
        if (r > 0) return p.revents;
        if (r == 0) return 0;
        if (errno != EINTR) return -1;
    }
}

// Opens and sets up the device; the descriptor, or -1 with `error` set.
int openConfigured(const std::string& device, const SerialSettings& s, std::string* error);

class TermiosPort final : public SerialPort {
  public:
    TermiosPort(int fd, std::string device, const SerialSettings& s)
        : fd_(fd),
          device_(std::move(device)),
          settings_(s),
          baud_(s.baud),
          timeoutMs_(s.readTimeoutMs) {}
    ~TermiosPort() override { closeFd(); }
    TermiosPort(const TermiosPort&) = delete;
    TermiosPort& operator=(const TermiosPort&) = delete;

    bool write(const uint8_t* data, size_t n, size_t& written) override {
        written = 0;
        lastDataUs_ = kLongAgo;  // what answers this comes as a frame of its own
        if (n == 1 && announcedAt_ < announced_.size() && data[0] == announced_[announcedAt_])
            return writeAnnounced(written);
        endAnnouncement();
        return !lost_ && writeAll(data, n, written);
    }

    void announceWrites(std::span<const uint8_t> bytes) override {
        announced_.assign(bytes.begin(), bytes.end());
        announcedAt_ = 0;
        announcedTaken_ = 0;
    }

    bool readByte(uint8_t& byte, size_t& got) override {
        endAnnouncement();
        got = 0;
        if (pos_ < len_) return deliver(byte, got);
        if (lost_) return false;
        const int64_t deadline = monotonicUs() + int64_t(timeoutMs_) * 1000;
        // The rest of a frame whose bytes are arriving now: sleep until it should be there
        // and take it, without first being woken by the next of its bytes.
        if (expected_ > 1 && monotonicUs() - lastDataUs_ < 2 * byteUs()) {
            awaitExpected(deadline);
            if (readyBytes() > 0 && readBuffer()) return deliver(byte, got);
            if (lost_) return false;
        }
        for (;;) {
            const int ev = pollUntil(fd_, POLLIN, deadline);
            if (ev < 0) return fail();
            if (ev == 0) {  // the read time-out passed without a byte
                expected_ = 0;
                return true;
            }
            if (ev & POLLIN) {
                awaitExpected(deadline);
                if (readBuffer()) return deliver(byte, got);
                if (lost_) return false;
                continue;  // interrupted, or nothing after all
            }
            // Hang-up or error without data: a lost link, not an endless stream of empty reads.
            return fail();
        }
    }

    // The driver's output queue tells what is still to go out (a pseudo-terminal always
    // says nothing: it has no line, and returns at once).
    bool drain() override {
        endAnnouncement();
        if (lost_) return false;
        int queued = 0;
        if (::ioctl(fd_, TIOCOUTQ, &queued) != 0 || queued <= 0) return true;
        const int64_t deadline = monotonicUs() + 1000000 + int64_t(queued) * 10000000 / baud_;
        while (queued > 0 && monotonicUs() < deadline) {
            // Wake up about when the queue should be out, at least every few milliseconds.
            const int ms = std::clamp(int(int64_t(queued) * 10000 / baud_), 1, 5);
            ::poll(nullptr, 0, ms);
            if (::ioctl(fd_, TIOCOUTQ, &queued) != 0) break;
        }
        return true;
    }

    void setReadTimeoutMs(int ms) override { timeoutMs_ = ms < 0 ? 0 : ms; }
    int readTimeoutMs() const override { return timeoutMs_; }
    bool lost() const override { return lost_; }
    void expect(size_t n) override {
        endAnnouncement();
        expected_ = n > len_ - pos_ ? n : 0;
    }

    // The old descriptor goes first: it still holds the lock the new one must take.
    bool reopen(std::string* error) override {
        endAnnouncement();
        closeFd();
        fd_ = openConfigured(device_, settings_, error);
        pos_ = len_ = 0;
        lastDataUs_ = kLongAgo;
        lost_ = fd_ < 0;
        return !lost_;
    }

  private:
    // Puts n bytes on the line, waiting while the driver's queue is full.
    bool writeAll(const uint8_t* data, size_t n, size_t& written) {
        // The line drains at the baud rate; allow that time plus a second before giving
        // up on a port that accepts nothing (stalled adapter, unread pseudo-terminal).
        const int64_t deadline = monotonicUs() + 1000000 + int64_t(n) * 10000000 / baud_;
        while (written < n) {
            const ssize_t w = ::write(fd_, data + written, n - written);
            if (w > 0) {
                written += size_t(w);
                continue;
            }
            if (w < 0 && errno == EINTR) continue;
            if (w < 0 && errno != EAGAIN) return fail();
            const int ev = pollUntil(fd_, POLLOUT, deadline);
            if (ev < 0 || (ev & (POLLHUP | POLLERR | POLLNVAL))) return fail();
            if (ev == 0) return false;  // time-out: nothing wrong with the line itself
        }
        return true;
    }
    // One of the announced one-byte writes. The first puts them all on the line; each then
    // reports what a write of its own would have: taken while the line took the bytes, or
    // refused where the line stopped (lost, or its time-out passed), after which the rest
    // are written one by one again.
    bool writeAnnounced(size_t& written) {
        if (announcedAt_ == 0 && !lost_)
            writeAll(announced_.data(), announced_.size(), announcedTaken_);
        if (announcedAt_ < announcedTaken_) {
            ++announcedAt_;
            written = 1;
            return true;
        }
        endAnnouncement();
        return false;
    }
    void endAnnouncement() {
        announced_.clear();
        announcedAt_ = announcedTaken_ = 0;
    }
    void closeFd() {
        if (fd_ < 0) return;
        ::ioctl(fd_, TIOCNXCL);
        ::close(fd_);  // also drops the flock
        fd_ = -1;
    }
    // The first of the expected bytes has come: the others follow at the line rate, so
    // sleep until they should all be there (never past the read's own deadline) instead
    // of waking for each of them.
    void awaitExpected(int64_t deadlineUs) {
        if (expected_ <= 1) return;
        const int ready = readyBytes();
        if (ready < 0 || size_t(ready) >= expected_) return;
        const int64_t untilUs =
            std::min(deadlineUs, monotonicUs() + int64_t(expected_ - size_t(ready)) * byteUs());
        const int64_t waitUs = untilUs - monotonicUs();
        if (waitUs <= 0) return;
        const timespec t{time_t(waitUs / 1000000), long(waitUs % 1000000) * 1000};
        ::ppoll(nullptr, 0, &t, nullptr);
    }
    int64_t byteUs() const { return 10000000 / baud_; }
    // Bytes waiting in the driver, or -1 when it cannot tell.
    int readyBytes() const {
        int ready = 0;
        return ::ioctl(fd_, FIONREAD, &ready) == 0 ? ready : -1;
    }
    // Takes what the driver holds into the buffer; false with nothing read (the link is
    // then lost unless the read was only interrupted or found nothing yet).
    bool readBuffer() {
        const ssize_t r = ::read(fd_, buf_, sizeof buf_);
        if (r > 0) {
            pos_ = 0;
            len_ = size_t(r);
            lastDataUs_ = monotonicUs();
            return true;
        }
        if (r < 0 && (errno == EINTR || errno == EAGAIN)) return false;
        fail();  // end of file or EIO: the other side hung up
        return false;
    }
    bool deliver(uint8_t& byte, size_t& got) {
        if (expected_ > 0) --expected_;
        byte = buf_[pos_++];
        got = 1;
        return true;
    }
    bool fail() {
        lost_ = true;
        return false;
    }

    int fd_;
    std::string device_;
    SerialSettings settings_;
    int baud_;
    int timeoutMs_;
    bool lost_ = false;
    // Bytes already read from the driver but not yet handed out, so a burst costs one
    // system call instead of one per byte.
    uint8_t buf_[256];
    size_t pos_ = 0, len_ = 0;
    size_t expected_ = 0;  // bytes the caller said are on their way
    // One-byte writes the caller announced, how many of them were made, and how many of
    // them the line took when they were put on it together.
    std::vector<uint8_t> announced_;
    size_t announcedAt_ = 0, announcedTaken_ = 0;
    // When the last bytes were taken from the driver, if nothing was written since.
    static constexpr int64_t kLongAgo = INT64_MIN / 2;
    int64_t lastDataUs_ = kLongAgo;
};

std::string describe(const std::string& device, const char* what, int err) {
    return device + ": " + what + " (" + std::strerror(err) + ")";
}

int openConfigured(const std::string& device, const SerialSettings& s, std::string* error) {
    auto failWith = [&](int fd, std::string message) {
        if (fd >= 0) ::close(fd);
        if (error) *error = std::move(message);
        return -1;
    };
    speed_t speed;
    if (!speedFor(s.baud, speed))
        return failWith(-1, device + ": unsupported speed " + std::to_string(s.baud));

    // O_NONBLOCK: the open must not wait for a carrier, and writes must not block for ever.
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return failWith(-1, describe(device, "cannot open the port", errno));
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int err = errno;
        return failWith(fd, err == EWOULDBLOCK ? device + ": the port is in use by another program"
                                               : describe(device, "cannot lock the port", err));
    }
    if (!::isatty(fd)) return failWith(fd, device + ": not a serial port");
    // flock only keeps out programs that also lock; TIOCEXCL keeps out every other opener
    // (except the superuser).
    if (::ioctl(fd, TIOCEXCL) != 0)
        return failWith(fd, describe(device, "cannot take the port exclusively", errno));

    termios tio{};
    if (::tcgetattr(fd, &tio) != 0)
        return failWith(fd, describe(device, "cannot read the port settings", errno));
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    // Reads never block in the driver: each one-byte read is a poll() with the port's own
    // time-out, which VTIME (tenths of a second) could not express.
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0)
        return failWith(fd, describe(device, "cannot set the port to raw 8N1", errno));
    // Whatever the box sent before we opened belongs to no request of ours.
    ::tcflush(fd, TCIFLUSH);
    return fd;
}

}  // namespace

std::unique_ptr<SerialPort> openTermiosPort(const std::string& device, const SerialSettings& s,
                                            std::string* error) {
    const int fd = openConfigured(device, s, error);
    if (fd < 0) return nullptr;
    return std::make_unique<TermiosPort>(fd, device, s);
}

}  // namespace corvan
