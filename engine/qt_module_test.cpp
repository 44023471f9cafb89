// The engine programs map Qt only for a run that shows the window or draws a PDF: they are
// run as children with the loader's trace of the files it maps (LD_DEBUG=files), and from
// copies placed where the Qt module is missing, stale or in the installed layout.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine_e2e_support.h"
#include "platform/test_temp_dir.h"

namespace corvan::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kSelection = "/EDC16_KWP.TXT /VOLKSWAGEN GOLF V ENGINE 1.9 TDI 105 CV /EXE";
const std::string kScript = std::string(CORVAN_SAMPLE_SCRIPTS) + "/identify_and_leave.txt";

// The program run with the loader telling every library it maps on standard error.
ProgramRun runTraced(const std::string& program, std::vector<std::string> args) {
    args.insert(args.begin(), {"LD_DEBUG=files", "QT_QPA_PLATFORM=offscreen", program});
    return runProgram("/usr/bin/env", args);
}

bool mapsQt(const ProgramRun& run) {
    return run.err.find("libQt6") != std::string::npos;
}

class QtModule : public ::testing::Test {
  protected:
    SampleCopy sample;
    std::string root = sample.root().string();
    std::string record = (sample.install() / "FICHAS" / "EDC16_KWP.TXT").string();
};

TEST_F(QtModule, HeadlessRunsReportsAndHtmlReportsMapNoQt) {
    const std::string html = (sample.root() / "session.html").string();
    const std::vector<std::pair<std::string, std::vector<std::string>>> runs = {
        {ECOR_PATH, {"--root", root, "--report", kSelection}},
        {ECOR_PATH,
         {"--root", root, "--technician", kScript, "--session-report", html, kSelection}},
        {ECOR_RUN_PATH,
         {"IDENTIFY.DLL", "--root", root, "--headless", "--mode", "REPORT", "--start-at", "<MNU",
          "--text", record}},
    };
    for (const auto& [program, args] : runs) {
        const ProgramRun run = runTraced(program, args);
        EXPECT_EQ(run.status, 0) << program << "\n" << run.err.substr(run.err.size() - 2000);
        // The trace is there (the runtime library is mapped), and names no Qt library.
        EXPECT_NE(run.err.find("libcorvan_runtime.so"), std::string::npos) << program;
        EXPECT_FALSE(mapsQt(run)) << program;
        EXPECT_EQ(run.err.find("libcorvan_engine_qt.so"), std::string::npos) << program;
    }
    EXPECT_TRUE(fs::exists(html));

    // The window and a PDF do load the module and Qt with it.
    const std::string pdf = (sample.root() / "report.pdf").string();
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"--root", root, "--qt", "--technician", kScript, kSelection},
             {"--root", root, "--report", "--session-report", pdf, kSelection}}) {
        const ProgramRun run = runTraced(ECOR_PATH, args);
        EXPECT_EQ(run.status, 0) << args[2];
        EXPECT_NE(run.err.find("libcorvan_engine_qt.so"), std::string::npos) << args[2];
        EXPECT_TRUE(mapsQt(run)) << args[2];
    }
    EXPECT_GT(fs::file_size(pdf), 0u);
}

TEST_F(QtModule, WithoutTheModuleTheWindowAndThePdfAreRefusedAndHeadlessRunsStillRun) {
    corvan::testing::TempDir dir;
    fs::copy_file(ECOR_PATH, dir.path() / "eCor");
    fs::copy_file(ECOR_RUN_PATH, dir.path() / "ecor-run");
    const std::string ecor = (dir.path() / "eCor").string();

    const ProgramRun window = runTraced(ecor, {"--root", root, "--qt", kSelection});
    EXPECT_EQ(window.status, 1);  // as for options this build cannot serve
    EXPECT_NE(window.err.find("eCor: the Qt module libcorvan_engine_qt.so cannot be loaded:\n  " +
                              (dir.path() / "libcorvan_engine_qt.so").string() + ": not there"),
              std::string::npos)
        << window.err.substr(window.err.size() - 1000);
    EXPECT_FALSE(mapsQt(window));

    const ProgramRun tool =
        runTraced((dir.path() / "ecor-run").string(), {"IDENTIFY.DLL", "--root", root, "--qt"});
    EXPECT_EQ(tool.status, 1);
    EXPECT_NE(tool.err.find("ecor-run: the Qt module"), std::string::npos);

    // A PDF cannot be drawn: the report runs, the file is not written, as for a file the run
    // cannot write.
    const fs::path pdf = sample.root() / "report.pdf";
    const ProgramRun report =
        runTraced(ecor, {"--root", root, "--report", "--session-report", pdf.string(), kSelection});
    EXPECT_EQ(report.status, 3);
    EXPECT_NE(report.out.find("[IDN]"), std::string::npos);
    EXPECT_NE(report.err.find("no PDF without it: write the report as .html"), std::string::npos);
    EXPECT_FALSE(fs::exists(pdf));

    const ProgramRun headless = runTraced(ecor, {"--root", root, "--report", kSelection});
    EXPECT_EQ(headless.status, 0);
    EXPECT_NE(headless.out.find("90C906021AB"), std::string::npos);
}

TEST_F(QtModule, IsFoundInTheInstalledLayoutAndAStaleOneIsRefused) {
    corvan::testing::TempDir dir;
    fs::create_directories(dir.path() / "bin");
    fs::create_directories(dir.path() / "lib" / "corvan");
    fs::copy_file(ECOR_PATH, dir.path() / "bin" / "eCor");
    const fs::path module = dir.path() / "lib" / "corvan" / "libcorvan_engine_qt.so";
    fs::copy_file(QT_MODULE_PATH, module);
    const std::string ecor = (dir.path() / "bin" / "eCor").string();
    const std::vector<std::string> args = {"--root",       root,    "--qt",
                                           "--technician", kScript, kSelection};

    const ProgramRun found = runTraced(ecor, args);
    EXPECT_EQ(found.status, 0) << found.err.substr(found.err.size() - 1000);
    EXPECT_NE(found.err.find(module.string()), std::string::npos);
    EXPECT_TRUE(mapsQt(found));

    // A library under the module's name without this build's entry is never called.
    fs::copy_file(RUNTIME_LIBRARY_PATH, dir.path() / "bin" / "libcorvan_engine_qt.so");
    const ProgramRun stale = runTraced(ecor, args);
    EXPECT_EQ(stale.status, 0);  // the one in lib/corvan is taken after it
    const ProgramRun staleOnly = [&] {
        fs::remove(module);
        return runTraced(ecor, args);
    }();
    EXPECT_EQ(staleOnly.status, 1);
    EXPECT_NE(staleOnly.err.find("not this build's Qt module (no corvan_engine_qt_parts_v1)"),
              std::string::npos)
        << staleOnly.err.substr(staleOnly.err.size() - 1000);
}

}  // namespace
}  // namespace corvan::e2e
