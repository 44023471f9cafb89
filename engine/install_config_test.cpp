#include "engine/install_config.h"

#include <gtest/gtest.h>

#include "engine/engine_test_support.h"
#include "platform/device_root.h"
#include "runtime/data_path.h"

namespace corvan::engine {
namespace {

TEST(InstallConfig, ValuesAreTheBracketsAfterTheirKey) {
    const auto c = parseInstallConfig(
        "PATH=[STORAGE CARD\\CORVANDATA]\r\nPORT=[/dev/rfcomm0]\r\n"
        "LANGUAGE=[PORTUGUESE]\r\n");
    EXPECT_EQ(c.installPath, "STORAGE CARD\\CORVANDATA");
    EXPECT_EQ(c.port, "/dev/rfcomm0");
    EXPECT_EQ(c.languageIndex, 5);
    // Keys in any order and on any line; extra text is ignored; only the first pair counts.
    const auto d = parseInstallConfig("; comment [x]\nLANGUAGE= \t[GERMAN] [SPANISH]\nPATH=[A\\B]");
    EXPECT_EQ(d.installPath, "A\\B");
    EXPECT_EQ(d.languageIndex, 2);
    EXPECT_EQ(d.port, "");
    // A lower-case language word keeps its spelling and selects Spanish.
    const auto e = parseInstallConfig("LANGUAGE=[english]");
    EXPECT_EQ(e.language, "english");
    EXPECT_EQ(e.languageIndex, 0);
}

TEST(InstallConfig, ReadFromTheStorageCardAndWindows1252) {
    testing::TestInstallation inst;
    inst.writeConfig("PATH=[STORAGE CARD\\DIAGNOSE\xC4]\r\nPORT=[SIM]\r\nLANGUAGE=[GERMAN]\r\n");
    std::string error;
    const auto c = readInstallConfig(DeviceRoot(inst.root()), &error);
    ASSERT_TRUE(c) << error;
    EXPECT_EQ(c->installPath, "STORAGE CARD\\DIAGNOSE\xC3\x84");  // Ä
    EXPECT_EQ(c->languageIndex, 2);

    EXPECT_FALSE(readInstallConfig(DeviceRoot(inst.root() / "nowhere"), &error));
    EXPECT_NE(error.find("iCor.cfg"), std::string::npos);
}

TEST(InstallConfig, TheEnginesProgramPathLeadsBackToTheConfigurationFile) {
    EXPECT_EQ(engineProgramPath("STORAGE CARD\\CORVANDATA"),
              "\\STORAGE CARD\\CORVANDATA\\EXE\\ECOR.EXE");
    // The plug-ins derive the configuration file from the program path.
    EXPECT_EQ(configFileDevicePath(engineProgramPath("STORAGE CARD\\CORVANDATA")),
              kConfigDevicePath);
    EXPECT_EQ(installFile("STORAGE CARD\\CORVANDATA", "FICHAS\\A.TXT"),
              "\\STORAGE CARD\\CORVANDATA\\FICHAS\\A.TXT");
    EXPECT_EQ(installFile("", "DLL"), "\\DLL");
}

}  // namespace
}  // namespace corvan::engine
