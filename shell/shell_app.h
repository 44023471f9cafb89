#pragma once
// The navigation shell: the root menu, the utilities, and the brand > model > system >
// variant pages, with Back, Home, the simulation toggle and the launching of the engine.
// One page exists at a time; the shell's loop reads the page's command word and acts on it,
// the handlers only store the word.
//
//     ShellApp shell(host);
//     shell.run();  // until the technician closes the shell
#include <memory>
#include <string>

#include "shell/launch.h"
#include "shell/menu_page.h"
#include "shell/name_maps.h"
#include "shell/navigation_state.h"
#include "shell/shell_settings.h"

namespace corvan::shell {

struct ShellHost;
enum class BarSet;

class ShellApp {
  public:
    explicit ShellApp(ShellHost& host);
    ~ShellApp();
    ShellApp(const ShellApp&) = delete;
    ShellApp& operator=(const ShellApp&) = delete;

    // Program start: LoadConfiguration, BuildNameMaps, the root page.
    void start();
    // One turn of the loop: pumps, then acts on the page's command word. False once the
    // technician has closed the shell.
    bool step();
    void run();

    void ShowRootPage();
    void ShowUtilitiesPage();
    void ShowBrandPage();
    void ShowModelPage(const std::string& brand);
    void ShowSystemPage(const std::string& brand, const std::string& model);
    void ShowVariantPage(const std::string& brand, const std::string& model,
                         const std::string& system);

    // The commands.
    void tapped();   // an entry was tapped: header, picture, "SELECT" enabled
    void confirm();  // double tap or "SELECT"
    void back();
    void home();
    void toggleSimulation();
    void showConnector();  // the connector picture of the system page was tapped

    const ShellSettings& settings() const { return settings_; }
    const NavigationState& navigation() const { return nav_; }
    const NameMaps& names() const { return names_; }
    MenuPage* page() { return page_.get(); }
    const std::string& simulationEntryLabel() const { return entryLabel_; }

  private:
    void act(const std::string& word);
    std::unique_ptr<MenuPage> newPage(PageKind kind);
    void fillPage(MenuPage& page, const std::string& devicePath, std::string_view fileError,
                  PageKind kind);
    void showPage(std::unique_ptr<MenuPage> page);
    void confirmRoot(int position, const std::string& entry);
    BarSet barSet(PageKind kind) const;
    void pump();

    ShellHost& host_;
    ShellSettings settings_;
    NavigationState nav_;
    NameMaps names_;
    Launcher launcher_;
    std::unique_ptr<MenuPage> page_;
    std::string entryLabel_;
    bool closed_ = false;
};

// A text without its last `count` characters (a picture name without its extension).
std::string dropLastChars(std::string_view text, size_t count);

}  // namespace corvan::shell
