#pragma once
// Starting another program with a command line, as the shell starts the engine and the
// tools, and waiting for it in slices so the caller's screens stay alive.
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace corvan {

class RunningProcess {
public:
    virtual ~RunningProcess() = default;
    // Waits up to `timeoutMs` (0: just looks); the exit status once it has ended.
    virtual std::optional<int> waitFor(int timeoutMs) = 0;
    virtual int pid() const = 0;
};

class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    // Starts `program` with `args` in a new process; nullptr with `error` set on failure
    // (missing file, not executable).
    virtual std::unique_ptr<RunningProcess> start(const std::string& program,
                                                  const std::vector<std::string>& args,
                                                  std::string* error) = 0;
};

class PosixProcessStarter final : public ProcessStarter {
public:
    std::unique_ptr<RunningProcess> start(const std::string& program,
                                          const std::vector<std::string>& args,
                                          std::string* error) override;
};

// Splits a device command line into words: blanks separate, double quotes group.
std::vector<std::string> splitCommandLine(const std::string& commandLine);

}  // namespace corvan
