#include "platform/process.h"

#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

extern char** environ;

namespace corvan {

namespace {

int exitStatus(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

int64_t monotonicMs() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// A started program. Destroying the handle neither kills nor reaps it: the shell may give
// up waiting for a tool that goes on running (an unreaped child is collected when the shell
// itself ends).
class PosixProcess final : public RunningProcess {
  public:
    explicit PosixProcess(pid_t pid) : pid_(pid) {}

    std::optional<int> waitFor(int timeoutMs) override {
        if (status_) return status_;
        // Waiting on another process is real time whatever clock the caller runs on; the
        // caller slices the wait so its screens stay alive.
        const int64_t deadline = monotonicMs() + (timeoutMs > 0 ? timeoutMs : 0);
        for (;;) {
            int status = 0;
            const pid_t r = ::waitpid(pid_, &status, WNOHANG);
            if (r == pid_) {
                status_ = exitStatus(status);
                return status_;
            }
            if (r < 0 && errno != EINTR) {
                status_ = -1;  // not our child any more: nothing left to wait for
                return status_;
            }
            const int64_t left = deadline - monotonicMs();
            if (left <= 0) return std::nullopt;
            std::this_thread::sleep_for(std::chrono::milliseconds(left < 5 ? left : 5));
        }
    }

    int pid() const override { return pid_; }

  private:
    pid_t pid_;
    std::optional<int> status_;
};

}  // namespace

std::unique_ptr<RunningProcess> PosixProcessStarter::start(const std::string& program,
                                                           const std::vector<std::string>& args,
                                                           std::string* error) {
    if (::access(program.c_str(), X_OK) != 0) {
        if (error) *error = program + ": " + std::strerror(errno);
        return nullptr;
    }
    std::vector<std::string> words;
    words.reserve(args.size() + 1);
    words.push_back(program);
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int rc = ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
    if (rc != 0) {
        if (error) *error = program + ": " + std::strerror(rc);
        return nullptr;
    }
    return std::make_unique<PosixProcess>(pid);
}

std::vector<std::string> splitCommandLine(const std::string& commandLine) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;  // "" is an empty word
        } else if (!quoted && (c == ' ' || c == '\t')) {
            if (inWord) words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) words.push_back(word);
    return words;
}

}  // namespace corvan
