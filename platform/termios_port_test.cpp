// Behaviour of the real serial port, checked through a pseudo-terminal pair. These tests
// wait in real time (a few hundred milliseconds in all): what they check is the timing and
// hang-up handling of the operating system's own line.
#include "platform/termios_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <pty.h>
#include <unistd.h>

#include <chrono>
#include <vector>

namespace corvan {
namespace {

using Clock = std::chrono::steady_clock;

class PtyPair {
  public:
    PtyPair() {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) == 0) name_ = name;
    }
    ~PtyPair() {
        closeMaster();
        if (slave_ >= 0) ::close(slave_);
    }
    // The port opens the terminal by name; the slave descriptor we keep only holds the
    // terminal open between the test steps.
    const std::string& name() const { return name_; }
    int master() const { return master_; }
    void closeMaster() {
        if (master_ >= 0) ::close(master_);
        master_ = -1;
    }
    void dropSlave() {
        if (slave_ >= 0) ::close(slave_);
        slave_ = -1;
    }

  private:
    int master_ = -1, slave_ = -1;
    std::string name_;
};

std::vector<uint8_t> readFromMaster(int fd, size_t want) {
    std::vector<uint8_t> got;
    while (got.size() < want) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 2000) <= 0) break;
        uint8_t buf[64];
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0) break;
        got.insert(got.end(), buf, buf + n);
    }
    return got;
}

TEST(TermiosPort, FramesCrossTheLineWholeAndUnaltered) {
    PtyPair pty;
    ASSERT_FALSE(pty.name().empty());
    std::string error;
    auto port = openTermiosPort(pty.name(), SerialSettings{}, &error);
    ASSERT_NE(port, nullptr) << error;
    pty.dropSlave();

    // Raw mode: CR, LF, XON/XOFF, 0xFF and 0x00 pass untouched both ways.
    const std::vector<uint8_t> frame = {0x80, 0x07, 0x20, 0x00, 0x0D, 0x0A, 0x11, 0x13, 0xFF, 0x03};
    size_t written = 0;
    ASSERT_TRUE(port->write(frame.data(), frame.size(), written));
    EXPECT_EQ(written, frame.size());
    EXPECT_EQ(readFromMaster(pty.master(), frame.size()), frame);

    ASSERT_EQ(::write(pty.master(), frame.data(), frame.size()), ssize_t(frame.size()));
    std::vector<uint8_t> back;
    for (size_t i = 0; i < frame.size(); ++i) {
        uint8_t b = 0;
        size_t got = 0;
        ASSERT_TRUE(port->readByte(b, got));
        ASSERT_EQ(got, 1u);
        back.push_back(b);
    }
    EXPECT_EQ(back, frame);
    EXPECT_FALSE(port->lost());
}

// A frame in the byte-wise form: each byte its own one-byte write, announced beforehand. The
// whole frame is on the line after the first write, every write reports its own byte, and
// bytes that were not announced (or no longer are) go out as they come.
TEST(TermiosPort, AnnouncedOneByteWritesGoOutTogether) {
    PtyPair pty;
    std::string error;
    auto port = openTermiosPort(pty.name(), SerialSettings{9600, 80}, &error);
    ASSERT_NE(port, nullptr) << error;
    pty.dropSlave();
    auto writeOne = [&](uint8_t b) {
        size_t written = 7;
        const bool ok = port->write(&b, 1, written);
        return ok && written == 1;
    };
    auto waiting = [&] {
        int n = 0;
        ::poll(nullptr, 0, 20);  // the pseudo-terminal hands bytes over asynchronously
        return ::ioctl(pty.master(), FIONREAD, &n) == 0 ? n : -1;
    };

    const std::vector<uint8_t> frame = {0x80, 0x03, 0x20, 0x00, 0x1A, 0x80, 0x39};
    port->announceWrites(frame);
    ASSERT_TRUE(writeOne(frame[0]));
    EXPECT_EQ(waiting(), int(frame.size()));
    for (size_t i = 1; i < frame.size(); ++i) EXPECT_TRUE(writeOne(frame[i])) << i;
    EXPECT_EQ(readFromMaster(pty.master(), frame.size()), frame);  // each byte once
    EXPECT_TRUE(writeOne(0x55));  // past the announcement: a write of its own
    EXPECT_EQ(readFromMaster(pty.master(), 1), std::vector<uint8_t>{0x55});

    // A byte other than the one announced next ends the announcement; so does a read.
    port->announceWrites(std::vector<uint8_t>{0x01, 0x02, 0x03});
    ASSERT_TRUE(writeOne(0x01));
    ASSERT_TRUE(writeOne(0x09));
    ASSERT_TRUE(writeOne(0x03));
    EXPECT_EQ(readFromMaster(pty.master(), 5),
              (std::vector<uint8_t>{0x01, 0x02, 0x03, 0x09, 0x03}));
    port->announceWrites(std::vector<uint8_t>{0x04, 0x05});
    uint8_t b = 0;
    size_t got = 0;
    port->setReadTimeoutMs(0);
    ASSERT_TRUE(port->readByte(b, got));
    ASSERT_TRUE(writeOne(0x04));
    EXPECT_EQ(waiting(), 1);
    EXPECT_EQ(readFromMaster(pty.master(), 1), std::vector<uint8_t>{0x04});

    // A line that hung up takes none of them, and each write says so.
    port->announceWrites(frame);
    pty.closeMaster();
    EXPECT_FALSE(writeOne(frame[0]));
    EXPECT_TRUE(port->lost());
    EXPECT_FALSE(writeOne(frame[1]));
}

TEST(TermiosPort, SilentLineEndsTheReadAfterTheTimeout) {
    PtyPair pty;
    std::string error;
    auto port = openTermiosPort(pty.name(), SerialSettings{9600, 80}, &error);
    ASSERT_NE(port, nullptr) << error;
    EXPECT_EQ(port->readTimeoutMs(), 80);
    uint8_t b = 0;
    size_t got = 7;
    const auto start = Clock::now();
    ASSERT_TRUE(port->readByte(b, got));
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    EXPECT_EQ(got, 0u);
    EXPECT_GE(ms, 60);
    EXPECT_LE(ms, 200);
    EXPECT_FALSE(port->lost());
}

// A frame announced longer than what the box sends: the port takes the bytes that came,
// still one per read, and the read after them ends with the time-out as on any silent
// line, not later; a new hint after it starts afresh.
TEST(TermiosPort, ExpectedBytesThatNeverComeCostOnlyTheReadTimeOut) {
    PtyPair pty;
    std::string error;
    auto port = openTermiosPort(pty.name(), SerialSettings{9600, 80}, &error);
    ASSERT_NE(port, nullptr) << error;
    const uint8_t sent[] = {0x11, 0x22};
    ASSERT_EQ(::write(pty.master(), sent, 2), 2);
    port->expect(40);
    uint8_t b = 0;
    size_t got = 0;
    const auto start = Clock::now();
    std::vector<uint8_t> read;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(port->readByte(b, got));
        if (got == 1) read.push_back(b);
    }
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    EXPECT_EQ(read, (std::vector<uint8_t>{0x11, 0x22}));
    EXPECT_EQ(got, 0u);
    // The wait for the 38 missing bytes (about 40 ms) lies within the first read's
    // time-out; the third read times out on its own: two time-outs at most.
    EXPECT_LE(ms, 2 * 80 + 60);
    const uint8_t more[] = {0x33};
    ASSERT_EQ(::write(pty.master(), more, 1), 1);
    port->expect(1);
    ASSERT_TRUE(port->readByte(b, got));
    EXPECT_EQ(got, 1u);
    EXPECT_EQ(b, 0x33);
}

// The rest of a frame whose first bytes were just taken: the port sleeps until it should
// be there instead of waking for its first byte. The bytes still come one per read, in
// order; a rest that never comes, or a far end that hangs up in the middle of the frame,
// ends the read as on any line: at its time-out, or as a lost link.
TEST(TermiosPort, TheRestOfAFrameUnderWayEndsAsAnyRead) {
    PtyPair pty;
    std::string error;
    auto port = openTermiosPort(pty.name(), SerialSettings{9600, 80}, &error);
    ASSERT_NE(port, nullptr) << error;
    auto readAll = [&port](size_t n) {
        std::vector<uint8_t> read;
        uint8_t b = 0;
        size_t got = 1;
        while (read.size() < n && got == 1 && port->readByte(b, got))
            if (got == 1) read.push_back(b);
        return read;
    };
    const uint8_t header[] = {0x80, 0x02, 0x20};
    const uint8_t rest[] = {0x00, 0x5A, 0x77};
    ASSERT_EQ(::write(pty.master(), header, 3), 3);
    port->expect(3);
    EXPECT_EQ(readAll(3), (std::vector<uint8_t>{0x80, 0x02, 0x20}));
    ASSERT_EQ(::write(pty.master(), rest, 3), 3);
    port->expect(3);
    EXPECT_EQ(readAll(3), (std::vector<uint8_t>{0x00, 0x5A, 0x77}));

    // Announced long (200 bytes, 208 ms of line) and silent: the read time-out (80 ms),
    // counted from the read's start, ends the wait.
    ASSERT_EQ(::write(pty.master(), header, 3), 3);
    port->expect(3);
    ASSERT_EQ(readAll(3).size(), 3u);
    port->expect(200);
    uint8_t b = 0;
    size_t got = 1;
    const auto start = Clock::now();
    ASSERT_TRUE(port->readByte(b, got));
    EXPECT_EQ(got, 0u);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(160));
    EXPECT_FALSE(port->lost());

    ASSERT_EQ(::write(pty.master(), header, 3), 3);
    port->expect(3);
    ASSERT_EQ(readAll(3).size(), 3u);
    pty.dropSlave();
    pty.closeMaster();
    port->expect(17);
    EXPECT_FALSE(port->readByte(b, got));
    EXPECT_EQ(got, 0u);
    EXPECT_TRUE(port->lost());
}

TEST(TermiosPort, HangUpMarksTheLinkLost) {
    PtyPair pty;
    std::string error;
    auto port = openTermiosPort(pty.name(), SerialSettings{9600, 80}, &error);
    ASSERT_NE(port, nullptr) << error;
    pty.dropSlave();
    pty.closeMaster();
    uint8_t b = 0;
    size_t got = 0;
    const auto start = Clock::now();
    EXPECT_FALSE(port->readByte(b, got));
    EXPECT_EQ(got, 0u);
    EXPECT_TRUE(port->lost());
    EXPECT_FALSE(port->readByte(b, got));  // fails at once from now on
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(60));
    size_t written = 0;
    const uint8_t one = 1;
    EXPECT_FALSE(port->write(&one, 1, written));
    // The pseudo-terminal is gone with its master: opening it again fails, and says where.
    std::string why;
    EXPECT_FALSE(port->reopen(&why));
    EXPECT_NE(why.find(pty.name()), std::string::npos) << why;
    EXPECT_TRUE(port->lost());
}

TEST(TermiosPort, ReopenedLineCarriesBytesAgain) {
    PtyPair pty;
    std::string error;
    auto port = openTermiosPort(pty.name(), SerialSettings{9600, 80}, &error);
    ASSERT_NE(port, nullptr) << error;
    ASSERT_TRUE(port->reopen(&error)) << error;
    EXPECT_FALSE(port->lost());
    const uint8_t byte = 0x5A;
    ASSERT_EQ(::write(pty.master(), &byte, 1), 1);
    uint8_t b = 0;
    size_t got = 0;
    ASSERT_TRUE(port->readByte(b, got));
    EXPECT_EQ(got, 1u);
    EXPECT_EQ(b, 0x5A);
}

TEST(TermiosPort, SecondOpenOfABusyPortIsRefused) {
    PtyPair pty;
    std::string error;
    auto first = openTermiosPort(pty.name(), SerialSettings{}, &error);
    ASSERT_NE(first, nullptr) << error;
    EXPECT_EQ(openTermiosPort(pty.name(), SerialSettings{}, &error), nullptr);
    EXPECT_NE(error.find(pty.name()), std::string::npos) << error;
    first.reset();
    error.clear();
    EXPECT_NE(openTermiosPort(pty.name(), SerialSettings{}, &error), nullptr) << error;
}

TEST(TermiosPort, BadDevicesAndSpeedsGiveAnError) {
    std::string error;
    EXPECT_EQ(openTermiosPort("/dev/no-such-port", SerialSettings{}, &error), nullptr);
    EXPECT_NE(error.find("/dev/no-such-port"), std::string::npos);
    error.clear();
    EXPECT_EQ(openTermiosPort("/dev/null", SerialSettings{}, &error), nullptr);
    EXPECT_FALSE(error.empty());
    PtyPair pty;
    error.clear();
    EXPECT_EQ(openTermiosPort(pty.name(), SerialSettings{12345, 80}, &error), nullptr);
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace corvan
