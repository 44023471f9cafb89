#include "platform/library_loader.h"

#include <dlfcn.h>

#include <system_error>

#include "platform/text_codec.h"

namespace corvan {
namespace fs = std::filesystem;

namespace {

class DlopenLibrary final : public LoadedLibrary {
  public:
    explicit DlopenLibrary(void* handle) : handle_(handle) {}
    ~DlopenLibrary() override { ::dlclose(handle_); }
    DlopenLibrary(const DlopenLibrary&) = delete;
    DlopenLibrary& operator=(const DlopenLibrary&) = delete;

    void* symbol(const char* name) const override { return ::dlsym(handle_, name); }

  private:
    void* handle_;
};

}  // namespace

std::unique_ptr<LoadedLibrary> DlopenLoader::load(const fs::path& hostPath,
                                                  std::string* error) const {
    // RTLD_LOCAL: every plug-in carries its own copy of the runtime's symbols, and two
    // plug-ins loaded at once (a caller and its callee) must not resolve into each other.
    // A path without "/" would make dlopen search the library path; always name the file.
    fs::path file = hostPath;
    if (!file.has_parent_path()) file = fs::path(".") / file;
    void* handle = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (error) {
            const char* why = ::dlerror();
            *error = why ? why : "cannot load " + hostPath.string();
        }
        return nullptr;
    }
    return std::make_unique<DlopenLibrary>(handle);
}

std::optional<fs::path> findPluginFile(const fs::path& folder, std::string_view dataName) {
    if (dataName.empty() || dataName.find_first_of("/\\") != std::string_view::npos ||
        dataName.find("..") != std::string_view::npos ||
        dataName.find('\0') != std::string_view::npos)
        return std::nullopt;
    std::string name(dataName);
    if (name.size() > 4 && equalsIgnoreCase(std::string_view(name).substr(name.size() - 4), ".dll"))
        name.resize(name.size() - 4);
    if (name.empty()) return std::nullopt;
    const std::string wanted = name + ".so";

    std::error_code ec;
    // The build names plug-ins in lower case; prefer that spelling when it is there.
    const std::string lower = [&] {
        std::string s = wanted;
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        return s;
    }();
    if (fs::is_regular_file(folder / lower, ec)) return folder / lower;
    std::optional<fs::path> found;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (!equalsIgnoreCase(entry, wanted)) continue;
        std::error_code typeEc;
        if (!it->is_regular_file(typeEc)) continue;
        if (!found || entry < found->filename().string()) found = it->path();
    }
    return found;
}

}  // namespace corvan
