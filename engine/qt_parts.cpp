#include "engine/qt_parts.h"

#include <system_error>

#include "platform/library_loader.h"

namespace corvan::engine {
namespace fs = std::filesystem;

std::vector<fs::path> qtModuleCandidates(const fs::path& programDir) {
    return {programDir / kQtModuleFile,
            programDir.parent_path() / "lib" / "corvan" / kQtModuleFile};
}

namespace {

struct LoadedParts {
    std::unique_ptr<LoadedLibrary> library;
    QtParts* parts = nullptr;
    std::string error;
};

LoadedParts load() {
    LoadedParts loaded;
    std::error_code ec;
    const fs::path program = fs::read_symlink("/proc/self/exe", ec);
    if (ec) {
        loaded.error = "cannot tell where this program lies: " + ec.message();
        return loaded;
    }
    const DlopenLoader loader;
    std::string tried;
    for (const fs::path& file : qtModuleCandidates(program.parent_path())) {
        if (!fs::exists(file, ec)) {
            tried += "\n  " + file.string() + ": not there";
            continue;
        }
        std::string why;
        auto library = loader.load(file, &why);
        if (!library) {
            tried += "\n  " + file.string() + ": " + why;
            continue;
        }
        using Entry = QtParts* (*)();
        const auto entry = reinterpret_cast<Entry>(library->symbol(kQtModuleEntry));
        if (!entry) {
            tried +=
                "\n  " + file.string() + ": not this build's Qt module (no " + kQtModuleEntry + ")";
            continue;
        }
        loaded.parts = entry();
        loaded.library = std::move(library);
        return loaded;
    }
    loaded.error = std::string("the Qt module ") + kQtModuleFile + " cannot be loaded:" + tried;
    return loaded;
}

}  // namespace

QtParts* loadQtParts(std::string* error) {
    // Loaded once: a second window or PDF of the run uses the same Qt; never unloaded.
    static LoadedParts* loaded = new LoadedParts(load());
    if (!loaded->parts && error) *error = loaded->error;
    return loaded->parts;
}

}  // namespace corvan::engine
