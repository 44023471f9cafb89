#pragma once
// The command bar across the top of every page: Home, Back and About, and while a diagnosis
// is being navigated the simulation toggle (drawn differently with simulation on and off)
// and the menu entry "SIMULADOR", relabelled to the simulation word of the language.
#include <string>
#include <string_view>
#include <vector>

#include "ui/dialog_template.h"

namespace corvan::ui {
class Dialog;
}

namespace corvan::shell {

enum class BarSet {
    Short,       // root and utilities pages: no simulation toggle
    Normal,      // diagnosis with simulation off
    Simulation,  // diagnosis with simulation on
};

// What the bar's commands say of themselves (tool tips), in Spanish in every language.
inline constexpr std::string_view kHomeTip = "Muestra el menú de opciones inicial";
inline constexpr std::string_view kBackTip = "Volver al menú anterior";
inline constexpr std::string_view kToggleTip = "Activa/desactiva modo DEMO";

// The bar's controls; their pictures are read from the data folder.
std::vector<ui::ControlSpec> commandBarControls(std::string_view dataFolder);

// Shows the buttons of `set` on a page and labels the menu entry.
void applyBarSet(ui::Dialog& page, BarSet set, const std::string& entryLabel);

// The command word of a bar control, or empty for another control.
std::string barCommand(int controlId);

}  // namespace corvan::shell
