#include "platform/default_root.h"

#include <cstdlib>
#include <system_error>

#ifndef CORVAN_BUILD_SAMPLE_ROOT
#define CORVAN_BUILD_SAMPLE_ROOT "sample-root"
#endif

namespace corvan {

namespace {

bool isDeviceRoot(const std::filesystem::path& dir) {
    std::error_code ec;
    return std::filesystem::is_directory(dir / "STORAGE CARD", ec);
}

std::filesystem::path fromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? std::filesystem::path(value) : std::filesystem::path();
}

// True when `file` lies in `folder` or below it.
bool inside(const std::filesystem::path& file, const std::filesystem::path& folder) {
    const auto rel = file.lexically_normal().lexically_relative(folder.lexically_normal());
    return !rel.empty() && *rel.begin() != "..";
}

}  // namespace

std::filesystem::path defaultDeviceRoot() {
    if (auto root = fromEnvironment("CORVAN_ROOT"); !root.empty()) return root;

    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    // A program run from its build tree works on that build's sample installation.
    const std::filesystem::path buildRoot = CORVAN_BUILD_SAMPLE_ROOT;
    if (!ec && buildRoot.is_absolute() && inside(self, buildRoot.parent_path())) return buildRoot;

    std::filesystem::path data = fromEnvironment("XDG_DATA_HOME");
    if (data.empty())
        if (auto home = fromEnvironment("HOME"); !home.empty()) data = home / ".local" / "share";
    if (!data.empty() && isDeviceRoot(data / "corvan" / "root")) return data / "corvan" / "root";

    if (!ec) {
        const auto installed = (self.parent_path() / kInstalledRootFromPrograms).lexically_normal();
        if (isDeviceRoot(installed)) return installed;
    }
    return CORVAN_BUILD_SAMPLE_ROOT;
}

}  // namespace corvan
