// varbox-sim as a separate process on a pseudo-terminal, reached through the real termios
// port: the serial code path of a workshop terminal, without a box. Real time, about a
// second in all.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/termios_port.h"
#include "runtime/commands.h"
#include "runtime/exchange.h"
#include "runtime/frame.h"
#include "runtime/testing/fake_screen.h"

namespace corvan {
namespace {

using Bytes = std::vector<uint8_t>;

// The simulator program, its first output line (the terminal's path) and its exit.
class SimProcess {
  public:
    explicit SimProcess(std::vector<std::string> args) {
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            std::vector<char*> argv;
            std::string program = VARBOX_SIM_PATH;
            argv.push_back(program.data());
            for (std::string& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(out[1]);
        stdout_ = out[0];
    }
    ~SimProcess() {
        stop();
        if (stdout_ >= 0) ::close(stdout_);
    }

    // The first line of output, waited for up to five seconds.
    std::string firstLine() {
        std::string line;
        char c = 0;
        while (line.size() < 256) {
            pollfd p{stdout_, POLLIN, 0};
            if (::poll(&p, 1, 5000) <= 0 || ::read(stdout_, &c, 1) != 1 || c == '\n') break;
            line += c;
        }
        return line;
    }
    // Waits up to `ms` for the process to end on its own; its exit status or -1.
    int waitExit(int ms) {
        for (int waited = 0; pid_ > 0 && waited <= ms; waited += 10) {
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            ::usleep(10000);
        }
        return -1;
    }
    int stop() {
        if (pid_ <= 0) return -1;
        ::kill(pid_, SIGTERM);
        const int status = waitExit(5000);
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
            pid_ = -1;
        }
        return status;
    }

  private:
    pid_t pid_ = -1;
    int stdout_ = -1;
};

struct RealLink {
    explicit RealLink(SerialPort* port) {
        host.clock = &clock;
        host.screen = &screen;
        link.port = port;
        link.host = &host;
    }
    Bytes exchange(const Bytes& request, int attempts = 4) {
        Bytes reply(512);
        const int n = Exchange(ModuleContext(link, 1, "EXE"), request, reply, attempts, 0.0, 1.0);
        reply.resize(size_t(n));
        return reply;
    }
    RealClock clock;
    testing::FakeScreen screen;
    HostServices host;
    VarboxLink link;
};

const std::string kScenario = CORVAN_SIM_SCENARIOS "/sample_vehicle.json";

TEST(VarboxSimProgram, AnswersAnIdentificationRequestOnItsTerminal) {
    SimProcess sim({kScenario, "--idle-exit", "20"});
    const std::string path = sim.firstLine();
    ASSERT_EQ(path.rfind("/dev/", 0), 0u) << path;
    std::string error;
    auto port = openTermiosPort(path, SerialSettings{}, &error);
    ASSERT_TRUE(port) << error;
    RealLink host(port.get());

    const Bytes reply = host.exchange(cmd::ecuRequest(Bytes{0x1A, 0x80}));
    ASSERT_EQ(reply.size(), 31u);
    EXPECT_TRUE(frame::isGood(reply));
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 6), (Bytes{0x80, 0x1B, 0x20, 0x00, 0x5A, 0x80}));
    EXPECT_EQ(std::string(reply.begin() + 6, reply.begin() + 17), "90C906021AB");
    const Bytes name = host.exchange(cmd::driverNameRequest());
    ASSERT_EQ(name.size(), 23u);
    EXPECT_EQ(std::string(name.begin() + 3, name.begin() + 10), "KWP2000");
    EXPECT_TRUE(host.screen.boxes.empty());

    port.reset();
    EXPECT_EQ(sim.stop(), 0);  // SIGTERM ends it cleanly
}

TEST(VarboxSimProgram, HangUpAfterFramesLosesTheLine) {
    SimProcess sim({kScenario, "--hangup-after", "1", "--idle-exit", "20"});
    const std::string path = sim.firstLine();
    std::string error;
    auto port = openTermiosPort(path, SerialSettings{}, &error);
    ASSERT_TRUE(port) << error;
    RealLink host(port.get());
    const Bytes state = host.exchange(cmd::connectionStatusRequest());
    ASSERT_EQ(state.size(), 16u);
    EXPECT_EQ(state[2], 0x82);
    EXPECT_EQ(sim.waitExit(3000), 0);
    EXPECT_TRUE(host.exchange(cmd::connectionStatusRequest(), 1).empty());
    EXPECT_TRUE(port->lost());
}

TEST(VarboxSimProgram, BadScenarioIsReportedWithItsPlace) {
    SimProcess sim({CORVAN_SIM_SCENARIOS "/../CMakeLists.txt"});
    EXPECT_EQ(sim.firstLine(), "");  // no terminal is opened
    EXPECT_EQ(sim.waitExit(5000), 2);
}

}  // namespace
}  // namespace corvan
