// Peak memory of the engine programs, each run as a child on the build's sample
// installation and read back as its peak resident set (wait4's ru_maxrss): a report, a
// scripted headless session, ecor-run of the identification, and the same session in the
// Qt window offscreen (and on the display when there is one). The baseline is measured in
// the same run: the engine started only to print its --help.
//
// A plain main, not Google Benchmark: a peak is one figure per run, and a timing loop
// would only repeat the program's start. Each case runs three times; the largest counts.
// A child's peak includes what this program had mapped when it forked, so the baseline
// holds that too; this program keeps itself small.
//
//     build/default/bench/bench_memory [BUILD_DIR]    (BUILD_DIR: default the bench's ..)
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr double kHeadlessLimitMiB = 15.0;
constexpr int kRuns = 3;

const char* const kSelection = "/EDC16_KWP.TXT /VOLKSWAGEN GOLF V ENGINE 1.9 TDI 105 CV /EXE";
// The technician opens the identification, reads it, leaves it and the function menu.
const char* const kScript =
    "tap \"Identification\"\n"
    "press \"SELECT\"\n"
    "after 20 pumps when title \"ECU IDENTIFICATION\" press \"Exit\"\n"
    "when title \"OPTIONS MENU\" press \"Exit\"\n";

struct Case {
    std::string label;
    std::string program;
    std::vector<std::string> args;
    std::vector<std::string> env;  // NAME=VALUE set in the child; "NAME=" removes NAME
    bool headless = true;
};

// The child's peak resident set in KiB, or -1 when it could not be run or failed.
long peakKiB(const Case& c) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        for (const std::string& e : c.env) {
            const auto eq = e.find('=');
            if (eq + 1 == e.size())
                ::unsetenv(e.substr(0, eq).c_str());
            else
                ::setenv(e.substr(0, eq).c_str(), e.c_str() + eq + 1, 1);
        }
        std::vector<char*> argv{const_cast<char*>(c.program.c_str())};
        for (const std::string& a : c.args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(c.program.c_str(), argv.data());
        ::_exit(127);
    }
    if (pid < 0) return -1;
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid) return -1;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return usage.ru_maxrss;
}

double mib(long kib) {
    return double(kib) / 1024.0;
}

}  // namespace

int main(int argc, char** argv) {
    const fs::path build =
        argc > 1 ? fs::path(argv[1]) : fs::canonical("/proc/self/exe").parent_path().parent_path();
    const std::string ecor = (build / "bin" / "eCor").string();
    const std::string ecorRun = (build / "bin" / "ecor-run").string();
    const std::string root = (build / "sample-root").string();
    for (const std::string& p : {ecor, ecorRun, root})
        if (!fs::exists(p)) {
            std::fprintf(stderr, "%s is not built (cmake --build --preset default)\n", p.c_str());
            return 1;
        }
    const fs::path script = fs::temp_directory_path() / "corvan-memory-bench-script.txt";
    std::ofstream(script) << kScript;
    const std::string record =
        (build / "sample-root" / "STORAGE CARD" / "CORVANDATA" / "FICHAS" / "EDC16_KWP.TXT")
            .string();

    // Headless cases run as a workshop's scripted run would, with no display to find.
    const std::vector<std::string> noDisplay = {"DISPLAY=", "WAYLAND_DISPLAY=", "QT_QPA_PLATFORM="};
    std::vector<Case> cases = {
        {"baseline: eCor --help", ecor, {"--help"}, noDisplay},
        {"eCor --report", ecor, {"--root", root, "--report", kSelection}, noDisplay},
        {"eCor headless session (identify and leave)",
         ecor,
         {"--root", root, "--headless", "--technician", script.string(), kSelection},
         noDisplay},
        {"ecor-run IDENTIFY.DLL headless",
         ecorRun,
         {"IDENTIFY.DLL", "--root", root, "--headless", "--mode", "REPORT", "--start-at", "<MNU",
          "--text", record},
         noDisplay},
        {"eCor --qt offscreen, same session",
         ecor,
         {"--root", root, "--qt", "--technician", script.string(), kSelection},
         {"QT_QPA_PLATFORM=offscreen"},
         false},
    };
    if (const char* display = std::getenv("DISPLAY"); display && *display)
        cases.push_back({std::string("eCor --qt on the display ") + display + ", same session",
                         ecor,
                         {"--root", root, "--qt", "--technician", script.string(), kSelection},
                         {"QT_QPA_PLATFORM=xcb"},
                         false});

    rusage self{};
    ::getrusage(RUSAGE_SELF, &self);
    std::printf("Peak resident memory, largest of %d runs (MiB; this program: %.1f MiB)\n\n", kRuns,
                mib(self.ru_maxrss));
    std::printf("%-52s %9s %9s\n", "run", "MiB", "/baseline");
    long baseline = 0, headlessPeak = 0;
    bool failed = false;
    for (const Case& c : cases) {
        long peak = 0;
        for (int i = 0; i < kRuns && peak >= 0; ++i) {
            const long run = peakKiB(c);
            peak = run < 0 ? -1 : std::max(peak, run);
        }
        if (peak < 0) {
            std::printf("%-52s   failed (the program did not end with status 0)\n",
                        c.label.c_str());
            failed = true;
            continue;
        }
        if (baseline == 0) baseline = peak;
        if (c.headless && &c != &cases.front()) headlessPeak = std::max(headlessPeak, peak);
        std::printf("%-52s %9.1f %9.2f\n", c.label.c_str(), mib(peak), double(peak) / baseline);
    }
    fs::remove(script);
    std::printf("\nHeadless runs under %.0f MiB: %s (largest %.1f MiB)\n", kHeadlessLimitMiB,
                mib(headlessPeak) < kHeadlessLimitMiB ? "yes" : "NO", mib(headlessPeak));
    return failed ? 1 : 0;
}
