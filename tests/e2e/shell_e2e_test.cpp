// The shell and the start-up loader as programs on a copy of the built sample installation:
// the shell navigating to a variant and starting the real engine, which runs a scripted
// session against the simulated box and ends; the loader starting the shell; and pictures
// of the shell's screens drawn offscreen.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "engine_e2e_support.h"
#include "platform/file_io.h"

namespace corvan::e2e {
namespace {

const std::string kShell = SHELL_PATH;
const std::string kLauncher = LAUNCHER_PATH;
const std::string kEngineScript = CORVAN_SAMPLE_SCRIPTS "/identify_and_leave.txt";

std::string writeText(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
    return file.string();
}

// The last record of dialog `name` dumped for `why` ("script", "destroyed") in a screen dump.
std::string lastRecord(const std::string& dump, const std::string& name, const std::string& why) {
    const size_t at = dump.rfind("dialog " + name + " " + why + "\n");
    if (at == std::string::npos) return {};
    return dump.substr(at, dump.find("\nend", at) - at);
}

TEST(ShellProgram, StartsTheRealEngineAndComesBackToTheVariant) {
    SampleCopy sample;
    corvan::testing::TempDir out;
    const std::string shellScript = writeText(out.path() / "shell.txt",
                                              "doubletap \"DIAGNOSIS\"\n"
                                              "doubletap \"VOLKSWAGEN\"\n"
                                              "doubletap \"GOLF V\"\n"
                                              "doubletap \"DIESEL ENGINE\"\n"
                                              "doubletap \"2.0 TDI - BOSCH EDC16\"\n"
                                              "press \"SELECT\"\n"
                                              "when rows #100 >= 1 dump\n"
                                              "close\n");
    const auto shellDump = out.path() / "shell.dump", engineDump = out.path() / "engine.dump";
    const ProgramRun run = runProgram(
        kShell, {"--root", sample.root().string(), "--headless", "--technician", shellScript,
                 "--screens", shellDump.string(), "--engine-options",
                 "--headless --technician " + kEngineScript + " --screens " + engineDump.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");  // both scripts ran as written

    // The engine ran the function menu of the chosen unit and its identification.
    const std::string engine = readWholeFile(engineDump).value_or("");
    ASSERT_FALSE(engine.empty());
    EXPECT_NE(engine.find("VOLKSWAGEN GOLF V MOTOR DIESEL 2.0 TDI - BOSCH EDC16"),
              std::string::npos)
        << engine;
    const auto identification = dialogRows(engine, "IDENTIFY");
    ASSERT_GE(identification.size(), 10u) << engine;
    EXPECT_NE(identification[1].find("90C906021AB"), std::string::npos);

    // The shell waited behind its background picture and is back on the variant it left.
    const std::string shell = readWholeFile(shellDump).value_or("");
    EXPECT_NE(shell.find("dialog FONDO destroyed"), std::string::npos);
    const std::string variants = lastRecord(shell, "VARIANTES", "script");
    ASSERT_FALSE(variants.empty()) << shell;
    EXPECT_NE(variants.find("visible yes"), std::string::npos);
    EXPECT_NE(variants.find("list #100 selected 0"), std::string::npos);
    EXPECT_TRUE(messageBoxTexts(shell).empty());
}

// The shell's scale reaches the engine it starts, with the device root, before the
// command line: an engine standing in for the real one notes what it was given.
TEST(ShellProgram, PassesItsScaleOnToTheEngine) {
    SampleCopy sample;
    corvan::testing::TempDir out;
    const auto args = out.path() / "engine-args.txt";
    const auto engine = sample.install() / "EXE" / "eCor.exe";
    std::filesystem::remove(engine);
    writeText(engine, "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > " + args.string() + "\n");
    std::filesystem::permissions(engine, std::filesystem::perms::owner_all);
    const std::string script = writeText(out.path() / "shell.txt",
                                         "doubletap \"DIAGNOSIS\"\n"
                                         "doubletap \"VOLKSWAGEN\"\n"
                                         "doubletap \"GOLF V\"\n"
                                         "doubletap \"DIESEL ENGINE\"\n"
                                         "doubletap \"2.0 TDI - BOSCH EDC16\"\n"
                                         "press \"SELECT\"\n"
                                         "when rows #100 >= 1 close\n");
    const ProgramRun run = runProgram(kShell, {"--root", sample.root().string(), "--headless",
                                               "--scale", "2", "--technician", script});
    ASSERT_EQ(run.status, 0) << run.err;
    const auto given = linesOf(readWholeFile(args).value_or(""));
    ASSERT_EQ(given.size(), 5u) << readWholeFile(args).value_or("");
    EXPECT_EQ(given[0], "--root");
    EXPECT_EQ(given[2], "--scale");
    EXPECT_EQ(given[3], "2");
    EXPECT_EQ(given[4].rfind("/EDC16_KWP.TXT /VOLKSWAGEN GOLF V", 0), 0u) << given[4];
}

TEST(ShellProgram, MissingEngineIsSaidInSpanish) {
    SampleCopy sample;
    std::filesystem::remove(sample.install() / "EXE" / "eCor.exe");
    corvan::testing::TempDir out;
    const std::string script =
        writeText(out.path() / "shell.txt",
                  "doubletap \"SIMULATION\"\ndoubletap \"BMW\"\ndoubletap \"SERIE 3 (E46)\"\n"
                  "doubletap \"DIESEL ENGINE\"\ndoubletap \"DDE 5.0 - BOSCH EDC16\"\nclose\n");
    const auto dump = out.path() / "shell.dump";
    const ProgramRun run = runProgram(kShell, {"--root", sample.root().string(), "--headless",
                                               "--technician", script, "--screens", dump.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(messageBoxTexts(readWholeFile(dump).value_or("")),
              (std::vector<std::string>{"WARNING: SIMULATION mode activated.",
                                        "No se encuentra la aplicación eCor.exe"}));
}

TEST(LauncherProgram, StartsTheShellFromTheCard) {
    SampleCopy sample;
    const ProgramRun run = runProgram(kLauncher, {"--root", sample.root().string(), "--headless"});
    EXPECT_EQ(run.status, 0) << run.err;

    // A card whose folder is a file: no waiting, one failed start, no message.
    SampleCopy broken;
    std::filesystem::remove_all(broken.root() / "STORAGE CARD");
    writeText(broken.root() / "STORAGE CARD", "not a folder");
    const ProgramRun failed =
        runProgram(kLauncher, {"--root", broken.root().string(), "--headless"}, 10000);
    EXPECT_EQ(failed.status, 1) << failed.err;
}

#ifdef SHELL_SCREENSHOTS
// PNG pictures of the pages, the options dialog and the connect prompt at 320 x 240, left in
// the build folder for a person to look at.
TEST(ShellProgram, ScreenshotsOffscreen) {
    const std::filesystem::path dir = SHELL_SCREENSHOTS;
    std::filesystem::remove_all(dir);
    SampleCopy sample;
    corvan::testing::TempDir out;
    const std::string script = writeText(out.path() / "shots.txt",
                                         "doubletap \"SETTINGS\"\n"
                                         "press \"CANCEL\"\n"
                                         "doubletap \"DIAGNOSIS\"\n"
                                         "tap \"BMW\"\n"
                                         "doubletap \"BMW\"\n"
                                         "tap \"SERIE 3 (E46)\"\n"
                                         "doubletap \"SERIE 3 (E46)\"\n"
                                         "tap \"BRAKES-TRACTION SYSTEM\"\n"
                                         "press #101\n"
                                         "press \"OK\"\n"
                                         "doubletap \"BRAKES-TRACTION SYSTEM\"\n"
                                         "doubletap \"DSC - STABILITY CONTROL MK60\"\n"
                                         "press \"CANCEL\"\n"
                                         "close\n");
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const ProgramRun run =
        runProgram(kShell, {"--root", sample.root().string(), "--qt", "--technician", script,
                            "--screenshots", dir.string()});
    ::unsetenv("QT_QPA_PLATFORM");
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    for (const char* screen :
         {"opciones-shown", "configuracion-shown", "marcas-closed", "modelos-closed",
          "sistemas-closed", "conexion-shown", "contacto-shown", "variantes-closed"}) {
        const auto it = std::find_if(names.begin(), names.end(), [&](const std::string& n) {
            return n.find(screen) != std::string::npos;
        });
        ASSERT_NE(it, names.end()) << screen;
        // The PNG header: width and height, big-endian, at bytes 16 and 20.
        const std::string png = readWholeFile(dir / *it).value_or("");
        ASSERT_GE(png.size(), 24u);
        auto be32 = [&](size_t at) {
            return (uint32_t(uint8_t(png[at])) << 24) | (uint32_t(uint8_t(png[at + 1])) << 16) |
                   (uint32_t(uint8_t(png[at + 2])) << 8) | uint32_t(uint8_t(png[at + 3]));
        };
        if (std::string(screen).rfind("configuracion", 0) == 0 ||
            std::string(screen).rfind("contacto", 0) == 0)
            continue;  // dialogs: their own size and a caption
        EXPECT_EQ(be32(16), 320u) << *it;
        EXPECT_EQ(be32(20), 240u) << *it;
    }
}
#endif

}  // namespace
}  // namespace corvan::e2e
