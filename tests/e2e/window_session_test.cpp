// A whole session in real windows on an X display, as a technician meets it: the shell's
// pages to the variant, the engine started for it, the box start-up, the function menu and
// the identification, each in its own window, worked by technician scripts. It runs only
// where Qt's X11 platform is asked for (the test command runs it under Xvfb); what the
// offscreen platform cannot show — the windows' creation on a real display — is its point.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "engine_e2e_support.h"
#include "platform/file_io.h"

namespace corvan::e2e {
namespace {

const std::string kShell = SHELL_PATH;
const std::string kEngineScript = CORVAN_SAMPLE_SCRIPTS "/identify_and_leave.txt";

bool onX11Display() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const char* display = std::getenv("DISPLAY");
    return platform && std::string(platform) == "xcb" && display && *display;
}

TEST(WindowSession, ShellEngineFunctionMenuAndIdentificationOnARealDisplay) {
    if (!onX11Display()) GTEST_SKIP() << "needs QT_QPA_PLATFORM=xcb and an X display";
    SampleCopy sample;
    corvan::testing::TempDir out;
    const auto shellScript = out.path() / "shell.txt";
    std::ofstream(shellScript) << "doubletap \"DIAGNOSIS\"\n"
                                  "doubletap \"VOLKSWAGEN\"\n"
                                  "doubletap \"GOLF V\"\n"
                                  "doubletap \"DIESEL ENGINE\"\n"
                                  "doubletap \"2.0 TDI - BOSCH EDC16\"\n"
                                  "press \"SELECT\"\n"
                                  "when rows #100 >= 1 dump\n"
                                  "close\n";
    const auto shellDump = out.path() / "shell.dump", engineDump = out.path() / "engine.dump";
    const auto shots = out.path() / "shots";
    const ProgramRun run =
        runProgram(kShell,
                   {"--root", sample.root().string(), "--qt", "--technician", shellScript.string(),
                    "--screens", shellDump.string(), "--engine-options",
                    "--qt --technician " + kEngineScript + " --screens " + engineDump.string() +
                        " --screenshots " + shots.string()},
                   120000);
    ASSERT_EQ(run.status, 0) << run.err;
    // Both scripts ran as written (Qt's own notes on standard error aside).
    EXPECT_EQ(run.err.find("technician script"), std::string::npos) << run.err;

    // The engine lived through its windows to the identification and back.
    const std::string engine = readWholeFile(engineDump).value_or("");
    const auto identification = dialogRows(engine, "IDENTIFY");
    ASSERT_GE(identification.size(), 10u) << engine;
    EXPECT_NE(identification[1].find("90C906021AB"), std::string::npos);
    EXPECT_NE(engine.find("dialog FUNCMENU destroyed"), std::string::npos);
    // Its windows were drawn on the display: a picture of each screen it showed.
    size_t pictures = 0;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(shots, ec))
        pictures += e.is_regular_file();
    EXPECT_GE(pictures, 3u);

    // The shell is back on the variant it left, without a message.
    const std::string shell = readWholeFile(shellDump).value_or("");
    EXPECT_NE(shell.find("dialog FONDO destroyed"), std::string::npos) << shell;
    EXPECT_NE(shell.rfind("dialog VARIANTES script"), std::string::npos) << shell;
    EXPECT_TRUE(messageBoxTexts(shell).empty());
}

}  // namespace
}  // namespace corvan::e2e
