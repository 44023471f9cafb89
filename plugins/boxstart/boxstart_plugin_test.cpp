// The built plug-in, loaded from the installation's DLL folder as the function menu does.
#include <gtest/gtest.h>

#include <filesystem>

#include "plugins/boxstart/boxstart_test_support.h"
#include "runtime/data_path.h"
#include "runtime/run_plugin.h"

namespace corvan::boxstart {
namespace {

using testing::BoxSetup;
using testing::Rig;

constexpr const char* kLoadError = "Load Error, DLL %s";

class BoxStartPlugin : public ::testing::Test {
  protected:
    void install(Rig& rig) {
        std::filesystem::copy_file(
            CORVAN_BOXSTART_PLUGIN,
            rig.dir.path() / "STORAGE CARD" / "CORVANDATA" / "DLL" / "boxstart.so");
    }
    std::string call(Rig& rig, const std::string& text, const std::string& mode) {
        const ModuleContext ctx = rig.context("EXE");
        return RunPlugin(ctx, ReadDataPath(ctx), "BOXSTART.DLL",
                         PluginCall{text, 0, mode, "ENGINE"}, kEnglish, kLoadError);
    }
};

TEST_F(BoxStartPlugin, DownloadsAndConnectsThroughItsEntry) {
    BoxSetup s;
    s.program = "none";
    Rig rig(s);
    install(rig);
    rig.writeDriver("KWP2000.DRV", testing::driverImage("KWP2000", 300));
    EXPECT_EQ(call(rig, testing::section(testing::kLineKeys()), "EXE"), "C1EF8F");
    EXPECT_EQ(rig.box->driverName(), "KWP2000");
    EXPECT_EQ(rig.box->connectionState(), 1);
    EXPECT_TRUE(rig.screen.messageBoxes().empty());
    EXPECT_TRUE(rig.progressShown);
}

TEST_F(BoxStartPlugin, ReportsAMissingDriverThroughItsEntry) {
    BoxSetup s;
    s.program = "none";
    Rig rig(s);
    install(rig);
    EXPECT_EQ(call(rig, testing::section(testing::kLineKeys()), "EXE"), "ERROR 2");
    ASSERT_EQ(rig.screen.messageBoxes().size(), 1u);
    EXPECT_EQ(rig.screen.messageBoxes()[0].text,
              "ERROR: can´t open STORAGE CARD\\CORVANDATA\\drv\\KWP2000.DRV DRIVER");
}

TEST_F(BoxStartPlugin, WithoutConfigurationFileTheDriverPathStartsAtTheRoot) {
    BoxSetup s;
    s.program = "none";
    Rig rig(s);
    install(rig);
    std::filesystem::remove(rig.dir.path() / "STORAGE CARD" / "iCor.cfg");
    const ModuleContext ctx = rig.context("EXE");
    // The engine would not find the plug-in either; call the entry from the installed copy.
    DlopenLoader loader;
    std::string error;
    auto library =
        loader.load(rig.dir.path() / "STORAGE CARD" / "CORVANDATA" / "DLL" / "boxstart.so", &error);
    ASSERT_TRUE(library) << error;
    auto entry = reinterpret_cast<PluginEntry>(library->symbol("dll"));
    ASSERT_TRUE(entry);
    const std::string text = testing::section(testing::kLineKeys());
    EXPECT_STREQ(entry(text.c_str(), 0, "EXE", &rig.link, kEnglish, "ENGINE"), "ERROR 2");
    EXPECT_EQ(rig.boxTexts(),
              (std::vector<std::string>{"Can´t open configuration file c:iCor.cfg",
                                        "ERROR: can´t open \\drv\\KWP2000.DRV DRIVER"}));
}

}  // namespace
}  // namespace corvan::boxstart
