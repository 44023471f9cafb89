#pragma once
// The Qt parts of eCor and ecor-run (the window and the session report's PDF) live in a
// library of their own, libcorvan_engine_qt.so beside the programs, opened only when a run
// asks for the window, screenshots or a PDF: a headless run, a report and an HTML session
// report never map Qt, which alone would cost more memory than the rest of the engine.
//
// Both sides are built from this header by the same build; the entry's name carries the
// version of the interface, so a module left from another build is refused, not called.
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/headless_screen.h"
#include "ui/screen.h"
#include "ui/technician_script.h"

namespace corvan::engine {

inline constexpr const char* kQtModuleFile = "libcorvan_engine_qt.so";
inline constexpr const char* kQtModuleEntry = "corvan_engine_qt_parts_v1";

struct QtWindowOptions {
    bool offscreen = false;  // pictures only, nobody at the screen
    int scale = 0;           // 0: automatic
    std::filesystem::path screenshotDir;
    std::optional<ui::TechnicianScript> script;  // works the screens instead of a person
    std::function<std::filesystem::path(const std::string&)> bitmapFile;
};

// The Qt application and its screen for the length of a run.
class QtWindow {
  public:
    virtual ~QtWindow() = default;
    virtual ui::Screen& screen() = 0;
    // The script's headless twins (its dump and report); null without a script.
    virtual ui::HeadlessScreen* record() = 0;
};

class QtParts {
  public:
    // argc and argv must outlive the window (Qt keeps them).
    virtual std::unique_ptr<QtWindow> openWindow(int& argc, char** argv,
                                                 QtWindowOptions options) = 0;
    // The PDF of a session report's HTML; empty with `error` set.
    virtual std::string drawPdf(const std::string& html, std::string* error) = 0;

  protected:
    ~QtParts() = default;
};

// Where the module is looked for, in order, for a program in `programDir`: beside the
// program (the build's bin folder, <prefix>/lib/corvan), then the installed layout seen
// from a program copied into <prefix>/bin.
std::vector<std::filesystem::path> qtModuleCandidates(const std::filesystem::path& programDir);

// The module's parts, loaded on the first call and kept for the process (Qt's own exit
// handlers live in it); null with `error` saying which files were tried and why they failed.
QtParts* loadQtParts(std::string* error);

}  // namespace corvan::engine
