#include "platform/device_root.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/test_temp_dir.h"

namespace corvan {
namespace {
namespace fs = std::filesystem;

class DeviceRootTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(tmp.path().empty());
        fs::create_directories(tmp.path() / "Storage Card" / "CorvanData" / "DATOS");
        std::ofstream(tmp.path() / "Storage Card" / "CorvanData" / "DATOS" / "MARCAS.MNU") << "x";
        fs::create_directories(tmp.path() / "MIP FLASH");
    }
    testing::TempDir tmp;
};

TEST_F(DeviceRootTest, ComponentsMatchIgnoringCase) {
    DeviceRoot root(tmp.path());
    EXPECT_EQ(root.toHost("\\STORAGE CARD\\CORVANDATA\\Datos\\Marcas.mnu"),
              tmp.path() / "Storage Card" / "CorvanData" / "DATOS" / "MARCAS.MNU");
    EXPECT_EQ(root.toHost("/storage card//corvandata/./datos/"),
              tmp.path() / "Storage Card" / "CorvanData" / "DATOS");
    EXPECT_EQ(root.toHost("mip flash"), tmp.path() / "MIP FLASH");
    EXPECT_EQ(root.toHost(""), tmp.path());
    EXPECT_EQ(root.toHost("\\"), tmp.path());
}

TEST_F(DeviceRootTest, MissingComponentsAreKeptAsWritten) {
    DeviceRoot root(tmp.path());
    EXPECT_EQ(root.toHost("\\storage card\\New Folder\\datos\\iCor.cfg"),
              tmp.path() / "Storage Card" / "New Folder" / "datos" / "iCor.cfg");
}

TEST_F(DeviceRootTest, ExactSpellingWinsOverAnotherCase) {
    fs::create_directories(tmp.path() / "mip flash");
    DeviceRoot root(tmp.path());
    EXPECT_EQ(root.toHost("\\mip flash"), tmp.path() / "mip flash");
    EXPECT_EQ(root.toHost("\\MIP FLASH"), tmp.path() / "MIP FLASH");
}

TEST_F(DeviceRootTest, DotDotNeverLeavesTheRoot) {
    DeviceRoot root(tmp.path());
    EXPECT_EQ(root.toHost("..\\..\\etc\\passwd"), tmp.path() / "etc" / "passwd");
    EXPECT_EQ(root.toHost("\\Storage Card\\..\\..\\..\\MIP FLASH"), tmp.path() / "MIP FLASH");
    EXPECT_EQ(root.toHost("\\Storage Card\\CorvanData\\..\\corvandata\\datos"),
              tmp.path() / "Storage Card" / "CorvanData" / "DATOS");
}

TEST_F(DeviceRootTest, HostPathsInsideTheRootBecomeDevicePaths) {
    DeviceRoot root(tmp.path());
    EXPECT_EQ(root.toDevice(tmp.path() / "Storage Card" / "CorvanData" / "DATOS" / "MARCAS.MNU"),
              "\\Storage Card\\CorvanData\\DATOS\\MARCAS.MNU");
    EXPECT_EQ(root.toDevice(tmp.path()), "\\");
    EXPECT_EQ(root.toDevice(tmp.path() / "MIP FLASH" / ".." / "x"), "\\x");
    EXPECT_EQ(root.toDevice(tmp.path().parent_path()), "");
    EXPECT_EQ(root.toDevice(tmp.path() / ".." / "elsewhere"), "");
    const std::string dev = "\\Storage Card\\CorvanData\\DATOS";
    EXPECT_EQ(root.toDevice(root.toHost(dev)), dev);
}

TEST_F(DeviceRootTest, RemembersTheProgramPath) {
    DeviceRoot root(tmp.path());
    root.setProgramPath("\\STORAGE CARD\\CORVANDATA\\EXE\\ECOR.EXE");
    EXPECT_EQ(root.programPath(), "\\STORAGE CARD\\CORVANDATA\\EXE\\ECOR.EXE");
}

}  // namespace
}  // namespace corvan
