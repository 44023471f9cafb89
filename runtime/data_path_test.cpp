#include "runtime/data_path.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/device_root.h"
#include "platform/test_temp_dir.h"
#include "runtime/testing/link_fixture.h"

namespace corvan {
namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& p, const std::string& bytes) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
}

class DataPathTest : public ::testing::Test, protected testing::LinkFixture {
  protected:
    DataPathTest() : root(dir.path()) {
        host.root = &root;
        root.setProgramPath("\\Storage Card\\CorvanData\\exe\\eCor.exe");
    }
    testing::TempDir dir;
    DeviceRoot root;
};

TEST(ConfigFilePath, LiesAboveTheInstallationFolder) {
    EXPECT_EQ(configFileDevicePath("\\STORAGE CARD\\CORVANDATA\\EXE\\ECOR.EXE"),
              "\\STORAGE CARD\\iCor.cfg");
    EXPECT_EQ(configFileDevicePath("\\storage card\\corvandata\\exe\\ecor.exe"),
              "\\STORAGE CARD\\iCor.cfg");
    // A program somewhere else finds nothing to cut: the file is looked for at the root.
    EXPECT_EQ(configFileDevicePath("\\bin\\ecor-run"), "\\iCor.cfg");
    EXPECT_EQ(configFileDevicePath(""), "\\iCor.cfg");
}

TEST_F(DataPathTest, ValueOfPathEvenWhenAnotherKeyComesFirst) {
    writeFile(dir.path() / "storage card" / "ICOR.CFG",
              "PORT=[COM4]\r\nPATH=[\\STORAGE CARD\\CORVANDATA]\r\nLANGUAGE=[SPANISH]\r\n");
    auto ctx = context();
    EXPECT_EQ(ReadDataPath(ctx), "\\STORAGE CARD\\CORVANDATA");
    EXPECT_TRUE(screen.boxes.empty());
}

TEST_F(DataPathTest, FileIsReadAsWindows1252) {
    writeFile(dir.path() / "STORAGE CARD" / "iCor.cfg", "PATH=[\\DATOS\\ESPA\xD1OL]");
    auto ctx = context();
    EXPECT_EQ(ReadDataPath(ctx), "\\DATOS\\ESPAÑOL");
}

TEST_F(DataPathTest, FileWithoutPathGivesEmptyTextWithoutMessage) {
    writeFile(dir.path() / "STORAGE CARD" / "iCor.cfg", "PORT=[COM4]");
    auto ctx = context();
    EXPECT_EQ(ReadDataPath(ctx), "");
    EXPECT_TRUE(screen.boxes.empty());
}

TEST_F(DataPathTest, MissingFileShowsTheCallersMessage) {
    auto ctx = context(kGerman);
    EXPECT_EQ(ReadDataPath(ctx, kConfigNotFoundFuncMenu), "");
    EXPECT_EQ(ReadDataPath(ctx), "");
    auto portuguese = context(kPortuguese);
    EXPECT_EQ(ReadDataPath(portuguese, portuguese.pick(kConfigNotFoundTextColon)), "");
    auto english = context(kEnglish);
    EXPECT_EQ(ReadDataPath(english, english.pick(kConfigNotFoundTextColon)), "");
    ASSERT_EQ(screen.boxes.size(), 4u);
    EXPECT_EQ(screen.boxes[0].text, "iCor.cfg NOT FOUND");
    EXPECT_EQ(screen.boxes[1].text,
              "Konfigurationsdatei c:\\iCor.cfg. kann nicht geöffnet werden.");
    EXPECT_EQ(screen.boxes[2].text, "NÃO É POSSIVEL ABRIR FICHEIRO DE CONFIGURAÇÃO C:\\iCor.cfg");
    EXPECT_EQ(screen.boxes[3].text, "Can´t open configuration file: c:\\iCor.cfg");
    EXPECT_EQ(screen.boxes[3].buttons, ui::Buttons::Ok);
}

TEST_F(DataPathTest, NoDeviceRootCountsAsAMissingFile) {
    host.root = nullptr;
    auto ctx = context(kSpanish);
    EXPECT_EQ(ReadDataPath(ctx), "");
    ASSERT_EQ(screen.boxes.size(), 1u);
    EXPECT_EQ(screen.boxes[0].text, "No es posible abrir fichero de configuración c:iCor.cfg");
}

TEST_F(DataPathTest, PluginFilesAreFoundCaseInsensitivelyInTheDllFolder) {
    writeFile(dir.path() / "Storage Card" / "CorvanData" / "dll" / "identify.so", "");
    auto ctx = context();
    EXPECT_EQ(pluginDevicePath("\\STORAGE CARD\\CORVANDATA", "IDENTIFY.DLL"),
              "\\STORAGE CARD\\CORVANDATA\\DLL\\IDENTIFY.DLL");
    const auto found = pluginHostPath(ctx, "\\STORAGE CARD\\CORVANDATA", "IDENTIFY.DLL");
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, dir.path() / "Storage Card" / "CorvanData" / "dll" / "identify.so");
    EXPECT_FALSE(pluginHostPath(ctx, "\\STORAGE CARD\\CORVANDATA", "..\\IDENTIFY.DLL"));
    EXPECT_FALSE(pluginHostPath(ctx, "\\STORAGE CARD\\CORVANDATA", "MISSING.DLL"));
}

}  // namespace
}  // namespace corvan
