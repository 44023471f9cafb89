#pragma once
// The engine's programs run as the shell would start them, in processes of their own: a
// copy of the built sample installation to change freely, programs run to their end with
// their output captured, the simulator program on a pseudo-terminal, and the records of a
// screen dump read back.
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/test_temp_dir.h"

namespace corvan::e2e {

struct ProgramRun {
    int status = -1;  // exit status; 128 + signal when killed
    std::string out, err;
};

// Runs `program` with `args` until it ends (killed after `timeoutMs`).
ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                      int timeoutMs = 60000);

// A copy of the sample installation in a temporary folder.
class SampleCopy {
  public:
    SampleCopy();
    const std::filesystem::path& root() const { return dir_.path(); }
    std::filesystem::path install() const { return root() / "STORAGE CARD" / "CORVANDATA"; }
    std::filesystem::path file(std::string_view name) const { return root() / name; }
    void writeConfig(std::string_view port) const;
    void writeRecord(const std::string& name, std::string_view text) const;
    std::string record(const std::string& name) const;

  private:
    corvan::testing::TempDir dir_;
};

// varbox-sim serving a scenario on a pseudo-terminal.
class SimProgram {
  public:
    explicit SimProgram(std::vector<std::string> args);
    ~SimProgram();
    // The terminal's path (the program's first output line), waited for up to 5 s.
    std::string terminalPath();
    int stop();

  private:
    int pid_ = -1;
    int stdout_ = -1;
};

// The texts of the message boxes in a screen dump, in order, with \n unescaped.
std::vector<std::string> messageBoxTexts(std::string_view dump);
// The rows of a list in the record of the dialog `name` in a dump ("a" | "b" cells).
std::vector<std::string> dialogRows(std::string_view dump, std::string_view name);
// The lines of a text.
std::vector<std::string> linesOf(std::string_view text);
// How many lines of a text hold `part`.
long countLines(std::string_view text, std::string_view part);

}  // namespace corvan::e2e
