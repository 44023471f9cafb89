#include "runtime/run_plugin.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/device_root.h"
#include "platform/library_loader.h"
#include "platform/test_temp_dir.h"
#include "runtime/data_path.h"
#include "runtime/testing/link_fixture.h"

namespace corvan {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLoadError = "Load Error, DLL %s";

class RunPluginTest : public ::testing::Test, protected testing::LinkFixture {
  protected:
    RunPluginTest() : root(dir.path()) {
        const fs::path card = dir.path() / "STORAGE CARD";
        fs::create_directories(card / "CORVANDATA" / "DLL");
        std::ofstream(card / "iCor.cfg") << "PATH=[STORAGE CARD\\CORVANDATA]\r\nPORT=[SIM]\r\n";
        fs::copy_file(CORVAN_ECHO_PLUGIN, card / "CORVANDATA" / "DLL" / "echo.so");
        root.setProgramPath("\\STORAGE CARD\\CORVANDATA\\EXE\\ECOR.EXE");
        host.root = &root;
        host.loader = &loader;
    }
    std::string run(const std::string& file, const PluginCall& call, int32_t language) {
        auto ctx = context(kEnglish);
        return RunPlugin(ctx, ReadDataPath(ctx), file, call, language, kLoadError);
    }

    testing::TempDir dir;
    DeviceRoot root;
    DlopenLoader loader;
};

TEST_F(RunPluginTest, CallsThePluginFoundByItsDataName) {
    const std::string text = "<MNU ID=[1] MSG=[first]\r\n<MNU ID=[2] MSG=[second]";
    const PluginCall call{text, static_cast<int32_t>(text.find("<MNU", 1)), "DEMO", "Motor"};
    EXPECT_EQ(run("ECHO.DLL", call, kGerman), "ECHO|DEMO|Motor|2|25|second|");
    EXPECT_EQ(run("echo", call, 9), "ECHO|DEMO|Motor|9|25|second|");
    EXPECT_TRUE(screen.boxes.empty());
}

TEST_F(RunPluginTest, NestedCallLeavesTheCallersLanguageAlone) {
    const PluginCall call{"NEST=[Echo.dll] NESTLANG=[0]", 0, "EXE", "OUTER"};
    EXPECT_EQ(run("ECHO.DLL", call, kGerman), "OUTER|2|ECHO|EXE|INNER|0|0|inner|");
}

TEST_F(RunPluginTest, ExceptionInsideThePluginGivesEmptyText) {
    EXPECT_EQ(run("ECHO.DLL", PluginCall{"THROW=[1]", 0, "EXE", ""}, 1), "");
    EXPECT_TRUE(screen.boxes.empty());
}

TEST_F(RunPluginTest, LibraryThatCannotBeLoadedShowsTheFullPath) {
    EXPECT_EQ(run("NOPE.DLL", PluginCall{}, 1), "");
    EXPECT_EQ(run("..\\ECHO.DLL", PluginCall{}, 1), "");
    EXPECT_EQ(run("sub/echo.dll", PluginCall{}, 1), "");
    ASSERT_EQ(screen.boxes.size(), 3u);
    EXPECT_EQ(screen.boxes[0].text, "Load Error, DLL STORAGE CARD\\CORVANDATA\\DLL\\NOPE.DLL");
    EXPECT_EQ(screen.boxes[1].text, "Load Error, DLL STORAGE CARD\\CORVANDATA\\DLL\\..\\ECHO.DLL");
    EXPECT_EQ(screen.boxes[0].buttons, ui::Buttons::Ok);
    // A file that is there but is no library fails to load the same way.
    std::ofstream(dir.path() / "STORAGE CARD" / "CORVANDATA" / "DLL" / "junk.so") << "junk";
    EXPECT_EQ(run("JUNK.DLL", PluginCall{}, 1), "");
    EXPECT_EQ(screen.boxes.size(), 4u);
}

TEST_F(RunPluginTest, NestedCallToAMissingPluginShowsTheErrorAndGoesOn) {
    const PluginCall call{"NEST=[GONE.DLL]", 0, "EXE", ""};
    EXPECT_EQ(run("ECHO.DLL", call, 5), "OUTER|5|");
    ASSERT_EQ(screen.boxes.size(), 1u);
    EXPECT_EQ(screen.boxes[0].text, "Load Error, DLL STORAGE CARD\\CORVANDATA\\DLL\\GONE.DLL");
}

TEST(LoadErrorFormat, OnlyPercentSIsReplaced) {
    EXPECT_EQ(formatLoadError("Load Error, DLL %s", "\\A\\B.DLL"), "Load Error, DLL \\A\\B.DLL");
    EXPECT_EQ(formatLoadError("%d %s %", "x"), "%d x %");
}

// A loader whose library frees its result text when unloaded: reading the result after the
// unload would be caught by the sanitizer build; the test also checks the moment of unload.
struct FakeLibraryState {
    std::string* text = nullptr;
    bool loaded = false;
    bool exportsDll = true;
    VarboxLink* linkSeen = nullptr;
    std::string textSeen;
};
FakeLibraryState fake;

const char* fakeDll(const char* text, int32_t, const char*, VarboxLink* link, int32_t,
                    const char*) {
    fake.linkSeen = link;
    fake.textSeen = text;
    *fake.text = "answer from the library";
    return fake.text->c_str();
}

class FakeLibrary final : public LoadedLibrary {
  public:
    FakeLibrary() {
        fake.text = new std::string;
        fake.loaded = true;
    }
    ~FakeLibrary() override {
        delete fake.text;
        fake.text = nullptr;
        fake.loaded = false;
    }
    void* symbol(const char* name) const override {
        return fake.exportsDll && std::string(name) == "dll" ? reinterpret_cast<void*>(&fakeDll)
                                                             : nullptr;
    }
};

class FakeLoader final : public LibraryLoader {
  public:
    std::unique_ptr<LoadedLibrary> load(const fs::path&, std::string*) const override {
        return std::make_unique<FakeLibrary>();
    }
};

TEST_F(RunPluginTest, ResultIsCopiedBeforeTheLibraryIsUnloaded) {
    FakeLoader fakeLoader;
    host.loader = &fakeLoader;
    std::ofstream(dir.path() / "STORAGE CARD" / "CORVANDATA" / "DLL" / "fake.so");
    EXPECT_EQ(run("FAKE.DLL", PluginCall{"T", 0, "EXE", ""}, 1), "answer from the library");
    EXPECT_FALSE(fake.loaded);
    EXPECT_EQ(fake.linkSeen, &link);
    EXPECT_EQ(fake.textSeen, "T");

    fake.exportsDll = false;
    fake.linkSeen = nullptr;
    EXPECT_EQ(run("FAKE.DLL", PluginCall{"T", 0, "EXE", ""}, 1), "");
    EXPECT_EQ(fake.linkSeen, nullptr);
    EXPECT_FALSE(fake.loaded);
    EXPECT_TRUE(screen.boxes.empty());
}

}  // namespace
}  // namespace corvan
