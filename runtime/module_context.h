#pragma once
// Everything one `dll` call works with: the borrowed link, the host's services that came
// with it, the language index and the mode word. Built at the entry and handed down; a
// plug-in that calls another gets a context of its own for the callee, so the caller's
// language index and mode are untouched when the callee returns.
#include <cstdint>
#include <string>

#include "platform/clock.h"
#include "runtime/host_services.h"
#include "runtime/text_table.h"
#include "runtime/varbox_link.h"
#include "ui/screen.h"

namespace corvan {

// The texts and position a plug-in was called with (the entry's arguments besides the link
// and the language index).
struct PluginCall {
    std::string text;   // the parameter text
    int32_t start = 0;  // where the function's own entry begins in it
    std::string mode;   // "EXE", "DEMO", "REPORT", "DEL", possibly with a trailing "@"
    std::string name;   // the function or ECU name chosen in the menus
};

class ModuleContext {
  public:
    // `link.host` must carry at least a clock and a screen (the entry checks it).
    ModuleContext(VarboxLink& link, int32_t language, std::string mode)
        : link_(link), language_(language), mode_(std::move(mode)) {}

    VarboxLink& link() const { return link_; }
    HostServices& host() const { return *link_.host; }
    Clock& clock() const { return *link_.host->clock; }
    ui::Screen& screen() const { return *link_.host->screen; }

    // The index as the caller gave it; PickText maps an index outside 0..5 to English.
    int32_t language() const { return language_; }
    const std::string& mode() const { return mode_; }
    // Only "EXE" and "DEMO" show a dialog; every other word works like "REPORT".
    bool showsDialog() const { return mode_ == "EXE" || mode_ == "DEMO"; }
    bool isDemo() const { return mode_ == "DEMO"; }

    std::string pick(const TextTable& table) const { return PickText(table, language_); }

    void pumpMessages() const { screen().pumpMessages(); }
    ui::Answer messageBox(const std::string& text, ui::Buttons buttons = ui::Buttons::Ok,
                          ui::Icon icon = ui::Icon::None, const std::string& title = {}) const {
        return screen().messageBox(text, title, buttons, icon);
    }

  private:
    VarboxLink& link_;
    int32_t language_;
    std::string mode_;
};

// Dispatches every waiting window message so the module's dialog keeps painting.
inline void PumpMessages(const ModuleContext& ctx) {
    ctx.pumpMessages();
}

// True when the link carries what a module needs to run (a clock and a screen).
inline bool linkUsable(const VarboxLink* link) {
    return link && link->host && link->host->clock && link->host->screen;
}

}  // namespace corvan
