#pragma once
// Plug-in libraries are loaded by the file name the data gives ("IDENTIFY.DLL"); on this
// platform that is "identify.so" in the installation's DLL folder, found case-insensitively.
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace corvan {

class LoadedLibrary {
public:
    virtual ~LoadedLibrary() = default;  // unloads
    virtual void* symbol(const char* name) const = 0;
};

class LibraryLoader {
public:
    virtual ~LibraryLoader() = default;
    // nullptr when the library cannot be loaded; `error` says why.
    virtual std::unique_ptr<LoadedLibrary> load(const std::filesystem::path& hostPath,
                                                std::string* error) const = 0;
};

class DlopenLoader final : public LibraryLoader {
public:
    std::unique_ptr<LoadedLibrary> load(const std::filesystem::path& hostPath,
                                        std::string* error) const override;
};

// The host file of a plug-in named by the data: "X.DLL" (or "x.dll", "X") is found as
// "x.so" in `folder`, the name matched case-insensitively. A name holding "/", "\" or ".."
// is refused (nullopt): data must never load code from outside the DLL folder.
std::optional<std::filesystem::path> findPluginFile(const std::filesystem::path& folder,
                                                    std::string_view dataName);

}  // namespace corvan
