// The device tools as programs on a copy of the built sample installation: the shell
// starting each from its utilities menu, and the box service program talking through the
// real serial code path to varbox-sim's Bluetooth module and box on a pseudo-terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>

#include "engine_e2e_support.h"
#include "platform/file_io.h"

namespace corvan::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kShell = SHELL_PATH;

std::string writeText(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
    return file.string();
}

// Runs `program` and collects its standard output until every process holding it (the
// program and what it started) has closed it, or `timeoutMs` passed. The exit status of
// `program`, and the output.
std::pair<int, std::string> runUntilOutputEnds(const std::string& program,
                                               const std::vector<std::string>& args,
                                               int timeoutMs = 60000) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return {-1, {}};
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        const int in = ::open("/dev/null", O_RDWR);
        ::dup2(in, STDIN_FILENO);
        std::vector<std::string> words{program};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& w : words) argv.push_back(w.data());
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        pollfd p{out[0], POLLIN, 0};
        if (left <= 0 || ::poll(&p, 1, int(left)) <= 0) break;
        char buf[4096];
        const ssize_t n = ::read(out[0], buf, sizeof buf);
        if (n <= 0) break;  // every writer has closed it
        text.append(buf, size_t(n));
    }
    ::close(out[0]);
    int raw = 0;
    if (::waitpid(pid, &raw, WNOHANG) != pid) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &raw, 0);
    }
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw), text};
}

// The shell on `sample`, picking utility `entry`; the utility works by `utilityScript` and
// writes its screen dump to the shell's standard output, which is returned.
std::string startUtility(const SampleCopy& sample, const fs::path& dir, const std::string& entry,
                         const std::string& utilityScript) {
    const std::string shellScript = writeText(
        dir / "shell.txt", "doubletap \"UTILITIES\"\ndoubletap \"" + entry + "\"\nclose\n");
    const std::string script = writeText(dir / "utility.txt", utilityScript);
    const auto [status, out] = runUntilOutputEnds(
        kShell,
        {"--root", sample.root().string(), "--headless", "--technician", shellScript,
         "--utility-options", "--headless --technician " + script + " --screens /dev/stdout"});
    EXPECT_EQ(status, 0);
    return out;
}

TEST(DeviceTools, TheShellStartsTheBoxServiceProgramFromItsUtilities) {
    SampleCopy sample;
    corvan::testing::TempDir dir;
    const std::string dump = startUtility(sample, dir.path(), "VARBOX TEST",
                                          "doubletap \"Reset Driver\"\npress \"Salir\"\n");
    // It ran on the installation's simulated box: the reset went out behind its wait dialog.
    EXPECT_NE(dump.find("dialog WAIT destroyed\n  title \"RESET\""), std::string::npos) << dump;
    EXPECT_NE(dump.find("dialog TEST_KELM_ZUL destroyed"), std::string::npos);
    EXPECT_TRUE(messageBoxTexts(dump).empty()) << dump;
}

TEST(DeviceTools, TheShellStartsTheDeviceConfigurationOnTheInstallationsRegistry) {
    SampleCopy sample;
    corvan::testing::TempDir dir;
    const std::string dump =
        startUtility(sample, dir.path(), "DEVICE SETUP",
                     "choose \"Matrix 20 keys\" in #111\npress #112\n"
                     "press \"Info\"\nanswer \"Teclado\" Ok\npress \"Exit\"\n");
    EXPECT_EQ(messageBoxTexts(dump),
              std::vector<std::string>{"Teclado: 00000001\n\rPantalla: 00000000\n\rTouch: "
                                       "520,497 785,751 778,255 251,252 259,737"})
        << dump;
    const std::string registry =
        readWholeFile(sample.root() / "MIP FLASH" / "Registry" / "LocalMachine.txt").value_or("");
    EXPECT_NE(registry.find("[Drivers\\BuiltIn\\Key]\n\"Type\"=dword:00000001\n"),
              std::string::npos)
        << registry;
}

TEST(DeviceTools, TheServiceProgramTalksToTheModuleAndTheBoxOnAPseudoTerminal) {
    SampleCopy sample;
    corvan::testing::TempDir dir;
    const fs::path program = sample.install() / "EXE" / "TEST_KELM_ZUL.EXE";
    const fs::path config = sample.install() / "EXE" / "iCor.cfg";

    // A module not linked yet: the AT commands reach it through the real port.
    const std::string unlinked =
        writeText(dir.path() / "unlinked.json",
                  R"({"bluetooth": {"linked": false, "remote": "", "version": "PTY MODULE 1.0"}})");
    {
        SimProgram sim({unlinked, "--bluetooth", "--idle-exit", "60"});
        const std::string pty = sim.terminalPath();
        ASSERT_FALSE(pty.empty());
        writeFileAtomic(config, "PATH=[STORAGE CARD\\CORVANDATA]\r\nPORT=[" + pty + "]\r\n");
        const std::string script = writeText(
            dir.path() / "bt.txt",
            "doubletap \"Leer configuración Bluetooth\"\nanswer \"\" Ok\npress \"Salir\"\n");
        const auto [status, dump] = runUntilOutputEnds(
            program.string(), {"--root", sample.root().string(), "--headless", "--technician",
                               script, "--screens", "/dev/stdout"});
        EXPECT_EQ(status, 0);
        const auto boxes = messageBoxTexts(dump);
        ASSERT_EQ(boxes.size(), 1u) << dump;
        EXPECT_EQ(boxes[0].find("\r\nPTY MODULE 1.0\r\nADDR=00A0961E0F01\r\nMODE=2"), 0u)
            << boxes[0];
    }
    // Linked to the box: the performance test's echoes come back through the module.
    const std::string linked = writeText(dir.path() / "linked.json", R"({"bluetooth": {}})");
    SimProgram sim({linked, "--bluetooth", "--pacing", "--idle-exit", "60"});
    const std::string pty = sim.terminalPath();
    ASSERT_FALSE(pty.empty());
    writeFileAtomic(config, "PATH=[STORAGE CARD\\CORVANDATA]\r\nPORT=[" + pty + "]\r\n");
    const std::string script = writeText(
        dir.path() / "perf.txt",
        "doubletap \"Prueba de rendimiento\"\nafter 20 pumps press \"Cancel\"\npress \"Salir\"\n");
    const auto [status, dump] =
        runUntilOutputEnds(program.string(), {"--root", sample.root().string(), "--headless",
                                              "--technician", script, "--screens", "/dev/stdout"});
    EXPECT_EQ(status, 0);
    const size_t at = dump.rfind("label #1201 \"");
    ASSERT_NE(at, std::string::npos) << dump;
    EXPECT_GE(std::stoi(dump.substr(at + 13)), 10) << dump;
    EXPECT_TRUE(messageBoxTexts(dump).empty()) << dump;
}

}  // namespace
}  // namespace corvan::e2e
