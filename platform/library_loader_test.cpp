#include "platform/library_loader.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/test_temp_dir.h"

namespace corvan {
namespace {
namespace fs = std::filesystem;

TEST(FindPluginFile, MatchesTheDataNameIgnoringCaseAndTheDllSuffix) {
    testing::TempDir tmp;
    std::ofstream(tmp.path() / "identify.so") << "x";
    std::ofstream(tmp.path() / "LiveData.so") << "x";
    EXPECT_EQ(findPluginFile(tmp.path(), "IDENTIFY.DLL"), tmp.path() / "identify.so");
    EXPECT_EQ(findPluginFile(tmp.path(), "identify.dll"), tmp.path() / "identify.so");
    EXPECT_EQ(findPluginFile(tmp.path(), "Identify"), tmp.path() / "identify.so");
    EXPECT_EQ(findPluginFile(tmp.path(), "LIVEDATA.Dll"), tmp.path() / "LiveData.so");
    EXPECT_FALSE(findPluginFile(tmp.path(), "VAGLOGIN.DLL").has_value());
    EXPECT_FALSE(findPluginFile(tmp.path() / "absent", "IDENTIFY.DLL").has_value());
}

TEST(FindPluginFile, RefusesNamesThatCouldLeaveTheFolder) {
    testing::TempDir tmp;
    fs::create_directories(tmp.path() / "a");
    std::ofstream(tmp.path() / "a" / "b.so") << "x";
    std::ofstream(tmp.path() / "x.so") << "x";
    EXPECT_FALSE(findPluginFile(tmp.path() / "a", "../x.dll").has_value());
    EXPECT_FALSE(findPluginFile(tmp.path(), "a/b.dll").has_value());
    EXPECT_FALSE(findPluginFile(tmp.path(), "a\\b.dll").has_value());
    EXPECT_FALSE(findPluginFile(tmp.path(), "..").has_value());
    EXPECT_FALSE(findPluginFile(tmp.path(), "").has_value());
    EXPECT_FALSE(findPluginFile(tmp.path(), ".dll").has_value());
}

TEST(FindPluginFile, IgnoresFoldersWithAPluginName) {
    testing::TempDir tmp;
    fs::create_directories(tmp.path() / "identify.so");
    EXPECT_FALSE(findPluginFile(tmp.path(), "IDENTIFY.DLL").has_value());
}

TEST(DlopenLoader, LoadsALibraryAndCallsItsFunction) {
    const fs::path module = CORVAN_TEST_MODULE;
    const auto file = findPluginFile(module.parent_path(), "PLATFORM_PROBE.DLL");
    ASSERT_TRUE(file.has_value());
    DlopenLoader loader;
    std::string error;
    auto lib = loader.load(*file, &error);
    ASSERT_NE(lib, nullptr) << error;
    auto fn = reinterpret_cast<int (*)(int)>(lib->symbol("probe_twice"));
    ASSERT_NE(fn, nullptr);
    EXPECT_EQ(fn(21), 42);
    EXPECT_EQ(lib->symbol("no_such_symbol"), nullptr);
}

TEST(DlopenLoader, MissingOrBrokenFilesGiveAnError) {
    testing::TempDir tmp;
    DlopenLoader loader;
    std::string error;
    EXPECT_EQ(loader.load(tmp.path() / "absent.so", &error), nullptr);
    EXPECT_NE(error.find("absent.so"), std::string::npos) << error;

    std::ofstream(tmp.path() / "junk.so") << "not a library";
    error.clear();
    EXPECT_EQ(loader.load(tmp.path() / "junk.so", &error), nullptr);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(loader.load(tmp.path() / "junk.so", nullptr), nullptr);
}

}  // namespace
}  // namespace corvan
