#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "shell/shell_host.h"

namespace corvan::shell {

std::string searchPath(std::string_view name) {
    if (name.empty()) return {};
    const char* path = std::getenv("PATH");
    std::string_view dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (!dirs.empty()) {
        const size_t colon = dirs.find(':');
        const std::string_view dir = dirs.substr(0, colon);
        dirs = colon == std::string_view::npos ? std::string_view() : dirs.substr(colon + 1);
        const std::filesystem::path candidate =
            std::filesystem::path(dir.empty() ? "." : std::string(dir)) / std::string(name);
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec) &&
            ::access(candidate.c_str(), X_OK) == 0)
            return candidate.string();
    }
    return {};
}

}  // namespace corvan::shell
