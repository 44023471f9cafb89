#include "shell/command_bar.h"

#include "shell/screen_layout.h"
#include "ui/screen.h"

namespace corvan::shell {

using namespace layout;

namespace {

ui::ControlSpec barButton(int id, int x, std::string_view dataFolder, std::string_view picture,
                          std::string_view toolTip = {}) {
    ui::ControlSpec c = control(id, ui::ControlKind::Button, {x, 1, 24, 24});
    c.bitmap = std::string(dataFolder) + "Imagenes\\Botones\\" + std::string(picture);
    c.toolTip = std::string(toolTip);
    return c;
}

}  // namespace

std::vector<ui::ControlSpec> commandBarControls(std::string_view dataFolder) {
    std::vector<ui::ControlSpec> bar = {
        barButton(kHome, 2, dataFolder, "Inicio.bmp", kHomeTip),
        barButton(kBack, 28, dataFolder, "Atras.bmp", kBackTip),
        barButton(kAbout, 54, dataFolder, "Acerca.bmp"),
        barButton(kToggleNormal, 88, dataFolder, "Diagnosis.bmp", kToggleTip),
        barButton(kToggleSimulation, 88, dataFolder, "Simulacion.bmp", kToggleTip),
    };
    ui::ControlSpec entry =
        control(kSimulationEntry, ui::ControlKind::Button, {118, 1, 100, 24}, "SIMULADOR");
    entry.font = tahoma(11, 800);
    bar.push_back(entry);
    for (ui::ControlSpec& c : bar) c.visible = false;  // applyBarSet shows a set
    return bar;
}

void applyBarSet(ui::Dialog& page, BarSet set, const std::string& entryLabel) {
    const bool diagnosis = set != BarSet::Short;
    for (int id : {kHome, kBack, kAbout}) page.setControlVisible(id, true);
    page.setControlVisible(kToggleNormal, set == BarSet::Normal);
    page.setControlVisible(kToggleSimulation, set == BarSet::Simulation);
    page.setControlVisible(kSimulationEntry, diagnosis);
    page.setText(kSimulationEntry, entryLabel);
}

std::string barCommand(int controlId) {
    switch (controlId) {
        case kHome:
            return "HOME";
        case kBack:
            return "BACK";
        case kAbout:
            return "ABOUT";
        case kToggleNormal:
        case kToggleSimulation:
        case kSimulationEntry:
            return "SIMULATION";
        default:
            return {};
    }
}

}  // namespace corvan::shell
