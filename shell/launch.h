#pragma once
// Starting the engine for a chosen variant (or opening its document), the two utility
// programs and the news page.
#include <string>
#include <string_view>
#include <vector>

namespace corvan::ui {
class Dialog;
}

namespace corvan::shell {

struct ShellHost;
struct ShellSettings;
struct NavigationState;

// The simulation value the engine is started with after " /DEMO=".
inline constexpr std::string_view kDemoValue = "1";

// The engine's command line, exactly as the engine reads it:
//   "/" record " /" brand " " model " " system " " variant " /EXE" [" /LOADDRIVER"]
//   "/" record " /" brand " " model " " system " " variant " /DEMO=1"
std::string engineCommandLine(std::string_view record, std::string_view brand,
                              std::string_view model, std::string_view system,
                              std::string_view variant, bool simulation, bool reloadDriver);

// Whether a record names a document (its last 4 characters, in upper case, are ".HTM").
bool isDocument(std::string_view record);

class Launcher {
  public:
    Launcher(ShellHost& host, const ShellSettings& settings, NavigationState& nav)
        : host_(host), settings_(settings), nav_(nav) {}

    // The variant page calls it for an entry with a record; `page` is hidden while the engine
    // runs and shown again when it has ended.
    void LaunchSelection(const std::string& brand, const std::string& model,
                         const std::string& system, const std::string& variant, ui::Dialog* page);
    // 1: the box test program; 2: the touch-screen calibration; 3: the device configuration.
    void StartUtility(int position);
    void OpenNewsPage();

  private:
    bool openInBrowser(const std::string& devicePath);
    void runEngine(const std::string& commandLine, ui::Dialog* page);

    ShellHost& host_;
    const ShellSettings& settings_;
    NavigationState& nav_;
};

}  // namespace corvan::shell
