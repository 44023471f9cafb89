#include "engine_e2e_support.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/file_io.h"

namespace corvan::e2e {

namespace {

std::vector<char*> argvOf(std::string& program, std::vector<std::string>& args) {
    std::vector<char*> argv{program.data()};
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return argv;
}

// Waits for `pid` up to `ms`; its status, or nothing.
bool waitFor(int pid, int ms, int& status) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        int raw = 0;
        if (::waitpid(pid, &raw, WNOHANG) == pid) {
            status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
            return true;
        }
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::string unescape(std::string_view quoted) {
    std::string out;
    for (size_t i = 0; i < quoted.size(); ++i) {
        if (quoted[i] == '\\' && i + 1 < quoted.size()) {
            const char c = quoted[++i];
            out += c == 'n' ? '\n' : c == 't' ? '\t' : c == 'r' ? '\r' : c;
        } else {
            out += quoted[i];
        }
    }
    return out;
}

}  // namespace

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                      int timeoutMs) {
    corvan::testing::TempDir dir;
    const auto outFile = dir.path() / "out", errFile = dir.path() / "err";
    ProgramRun run;
    const int pid = ::fork();
    if (pid == 0) {
        const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int in = ::open("/dev/null", O_RDONLY);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(err, STDERR_FILENO);
        ::dup2(in, STDIN_FILENO);
        std::string p = program;
        std::vector<std::string> a = args;
        ::execv(p.c_str(), argvOf(p, a).data());
        ::_exit(127);
    }
    if (pid < 0) return run;
    if (!waitFor(pid, timeoutMs, run.status)) {
        ::kill(pid, SIGKILL);
        waitFor(pid, 5000, run.status);
    }
    run.out = readWholeFile(outFile).value_or("");
    run.err = readWholeFile(errFile).value_or("");
    return run;
}

SampleCopy::SampleCopy() {
    std::filesystem::copy(CORVAN_SAMPLE_ROOT, dir_.path(),
                          std::filesystem::copy_options::recursive);
}

void SampleCopy::writeConfig(std::string_view port) const {
    std::string text = "PATH=[STORAGE CARD\\CORVANDATA]\r\nPORT=[";
    text += port;
    text += "]\r\nLANGUAGE=[ENGLISH]\r\n";
    writeFileAtomic(root() / "STORAGE CARD" / "iCor.cfg", text);
}

void SampleCopy::writeRecord(const std::string& name, std::string_view text) const {
    writeFileAtomic(install() / "FICHAS" / name, text);
}

std::string SampleCopy::record(const std::string& name) const {
    return readWholeFile(install() / "FICHAS" / name).value_or("");
}

SimProgram::SimProgram(std::vector<std::string> args) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        std::string program = VARBOX_SIM_PATH;
        ::execv(program.c_str(), argvOf(program, args).data());
        ::_exit(127);
    }
    ::close(out[1]);
    stdout_ = out[0];
}

SimProgram::~SimProgram() {
    stop();
    if (stdout_ >= 0) ::close(stdout_);
}

std::string SimProgram::terminalPath() {
    std::string line;
    char c = 0;
    while (line.size() < 256) {
        pollfd p{stdout_, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0 || ::read(stdout_, &c, 1) != 1 || c == '\n') break;
        line += c;
    }
    return line;
}

int SimProgram::stop() {
    if (pid_ <= 0) return -1;
    ::kill(pid_, SIGTERM);
    int status = -1;
    if (!waitFor(pid_, 5000, status)) {
        ::kill(pid_, SIGKILL);
        waitFor(pid_, 5000, status);
    }
    pid_ = -1;
    return status;
}

std::vector<std::string> linesOf(std::string_view text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

long countLines(std::string_view text, std::string_view part) {
    long n = 0;
    for (const std::string& l : linesOf(text)) n += l.find(part) != std::string::npos;
    return n;
}

std::vector<std::string> messageBoxTexts(std::string_view dump) {
    std::vector<std::string> texts;
    bool inBox = false;
    for (const std::string& line : linesOf(dump)) {
        if (line.rfind("message-box ", 0) == 0) inBox = true;
        if (inBox && line.rfind("  text \"", 0) == 0 && line.size() >= 9) {
            texts.push_back(unescape(std::string_view(line).substr(8, line.size() - 9)));
            inBox = false;
        }
    }
    return texts;
}

std::vector<std::string> dialogRows(std::string_view dump, std::string_view name) {
    std::vector<std::string> rows, current;
    bool inDialog = false;
    const std::string head = "dialog " + std::string(name) + " ";
    for (const std::string& line : linesOf(dump)) {
        if (line.rfind(head, 0) == 0) {
            inDialog = true;
            current.clear();
        } else if (inDialog && line == "end") {
            inDialog = false;
            rows = current;  // the last record of the dialog wins
        } else if (inDialog && line.rfind("    row ", 0) == 0) {
            const size_t cells = line.find('"');
            if (cells != std::string::npos) current.push_back(line.substr(cells));
        }
    }
    return rows;
}

}  // namespace corvan::e2e
