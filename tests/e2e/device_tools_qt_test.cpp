// Pictures of the device tools' real Qt windows, drawn offscreen at the device's 320 x 240
// and left in the build folder (screenshots/device-tools/<program>) for a person to look
// at: the service menu, the performance test, the pairing's windows, the line-driver report,
// and the device configuration with its Info box. The checks catch a screen that was never
// drawn or was drawn blank.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QSet>
#include <filesystem>
#include <fstream>

#include "engine_e2e_support.h"

namespace corvan::e2e {
namespace {

namespace fs = std::filesystem;

fs::path freshFolder(const std::string& name) {
    const fs::path dir = fs::path(DEVICE_TOOLS_SCREENSHOTS) / name;
    std::error_code ec;
    fs::remove_all(dir, ec);
    fs::create_directories(dir, ec);
    return dir;
}

std::string writeText(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
    return file.string();
}

// The last picture whose name contains `part` (pictures are numbered in the order taken).
fs::path lastPicture(const fs::path& dir, const std::string& part) {
    fs::path found;
    for (const auto& e : fs::directory_iterator(dir)) {
        const std::string name = e.path().filename().string();
        if (name.find(part) != std::string::npos && (found.empty() || name > found.filename()))
            found = e.path();
    }
    return found;
}

::testing::AssertionResult drawnPicture(const fs::path& dir, const std::string& part) {
    const fs::path file = lastPicture(dir, part);
    if (file.empty()) return ::testing::AssertionFailure() << "no picture of " << part;
    const QImage image(QString::fromStdString(file.string()));
    if (image.isNull()) return ::testing::AssertionFailure() << file << " is no picture";
    QSet<QRgb> colours;
    long ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            colours.insert(c.rgb());
            ink += c.lightness() < 96;
        }
    if (colours.size() < 3 || ink * 400 < long(image.width()) * image.height())
        return ::testing::AssertionFailure() << file << " is blank";
    return ::testing::AssertionSuccess();
}

TEST(DeviceToolsOnQt, TheServiceProgramsWindows) {
    SampleCopy sample;
    corvan::testing::TempDir tmp;
    const fs::path shots = freshFolder("test-kelm-zul");
    // A module that is not linked yet, quick to restart and to search, so the pairing runs
    // in a few seconds of real time.
    const std::string scenario =
        writeText(tmp.path() / "unlinked.json",
                  R"({"box": {"program": "running", "driverName": "KWP2000", "adapter": "OBDII"},
            "timing": {"pacing": true, "replyDelayMs": 5},
            "bluetooth": {"linked": false, "remote": "", "restartMs": 200, "linkDelayMs": 300,
                          "inquiryMs": 1200, "answerDelayMs": 5,
                          "devices": [{"address": "0012F3A1B2C4", "name": "VARBOX 0412"},
                                      {"address": "00025B00A5A5", "name": "PHONE"}]}})");
    const std::string script = writeText(tmp.path() / "service.txt",
                                         "tap \"Emparejamiento Bluetooth\"\n"
                                         "press \"Ejecutar\"\n"
                                         "answer \"ATENCION\" Ok\n"
                                         "when title \"Emparejamiento\" tap \"VARBOX 0412\"\n"
                                         "press \"OK\"\n"
                                         "type \"1234\" into #11\n"
                                         "press \"OK\"\n"
                                         "answer \"Emparejamiento efectuado\" Ok\n"
                                         "doubletap \"Prueba de rendimiento\"\n"
                                         "after 40 pumps press \"Cancel\"\n"
                                         "doubletap \"Test canales\"\n"
                                         "answer \"Nombre driver\" Ok\n"
                                         "answer \"Canal K\" Ok\n"
                                         "answer \"0\" Ok\nanswer \"1\" Ok\n"
                                         "answer \"2\" Ok\nanswer \"3\" Ok\n"
                                         "press \"Salir\"\n");
    const ProgramRun run = runProgram((sample.install() / "EXE" / "TEST_KELM_ZUL.EXE").string(),
                                      {"--root", sample.root().string(), "--sim", scenario, "--qt",
                                       "--technician", script, "--screenshots", shots.string()},
                                      120000);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("technician script"), std::string::npos) << run.err;
    for (const char* screen : {"test-kelm-zul", "progreso", "dispositivos", "pin", "prueba", "wait",
                               "nombre-driver", "canal-k"})
        EXPECT_TRUE(drawnPicture(shots, screen));
}

TEST(DeviceToolsOnQt, TheDeviceConfigurationWindow) {
    SampleCopy sample;
    corvan::testing::TempDir tmp;
    const fs::path shots = freshFolder("devconfig");
    const std::string script = writeText(tmp.path() / "devconfig.txt",
                                         "choose \"Sharp 3'5\\\" Portrait\" in #101\n"
                                         "press #102\n"
                                         "choose \"Matrix 20 keys\" in #111\n"
                                         "press #112\n"
                                         "press \"Info\"\n"
                                         "answer \"Teclado\" Ok\n"
                                         "press \"Exit\"\n");
    const ProgramRun run = runProgram((sample.install() / "EXE" / "DEVCONFIG.EXE").string(),
                                      {"--root", sample.root().string(), "--qt", "--technician",
                                       script, "--screenshots", shots.string()});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.find("technician script"), std::string::npos) << run.err;
    EXPECT_TRUE(drawnPicture(shots, "-devconfig-"));
    EXPECT_TRUE(drawnPicture(shots, "devconfig-v1-0-message"));
}

}  // namespace
}  // namespace corvan::e2e
