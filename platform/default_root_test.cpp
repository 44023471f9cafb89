#include "platform/default_root.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/test_temp_dir.h"

namespace corvan {
namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(DefaultRoot, TheEnvironmentNamesItFirstThenABuildTreeProgramTakesItsBuildsSample) {
    testing::TempDir user;
    std::filesystem::create_directories(user.path() / "corvan" / "root" / "STORAGE CARD");
    ScopedEnv data("XDG_DATA_HOME", user.path().string());
    {
        ScopedEnv named("CORVAN_ROOT", "/somewhere/else");
        EXPECT_EQ(defaultDeviceRoot(), "/somewhere/else");
    }
    ScopedEnv none("CORVAN_ROOT", "");
    // This test runs from the build tree: its build's sample installation, not the user's.
    EXPECT_EQ(defaultDeviceRoot(), std::filesystem::path(CORVAN_BUILD_SAMPLE_ROOT));
}

}  // namespace
}  // namespace corvan
