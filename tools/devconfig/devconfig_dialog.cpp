#include "tools/devconfig/devconfig_dialog.h"

#include <string>
#include <vector>

#include "platform/clock.h"
#include "tools/devconfig/device_config.h"
#include "ui/screen.h"

namespace corvan::devconfig {

namespace {

constexpr const char* kTitle = "devconfig v1.0";
// The loop rests this long between pumps while nobody acts, so a window on the device does
// not keep the processor busy.
constexpr int kIdleRestMs = 10;

template <size_t N, class Row>
std::vector<std::string> labels(const std::array<Row, N>& rows) {
    std::vector<std::string> out;
    for (const Row& r : rows) out.emplace_back(r.label);
    return out;
}

}  // namespace

ui::DialogTemplate devconfigTemplate() {
    using ui::ControlKind;
    ui::DialogTemplate t;
    t.name = "DEVCONFIG";
    t.title = kTitle;
    t.rect = {0, 0, 320, 240};
    t.controls = {
        ui::makeControl(100, ControlKind::Label, {12, 12, 120, 18}, "Screen:"),
        ui::makeControl(kScreenListId, ControlKind::ComboBox, {12, 32, 196, 24}, ""),
        ui::makeControl(kScreenChangeId, ControlKind::Button, {218, 30, 90, 28}, "Change"),
        ui::makeControl(110, ControlKind::Label, {12, 76, 120, 18}, "Keyboard:"),
        ui::makeControl(kKeyboardListId, ControlKind::ComboBox, {12, 96, 196, 24}, ""),
        ui::makeControl(kKeyboardChangeId, ControlKind::Button, {218, 94, 90, 28}, "Change"),
        ui::makeControl(kInfoId, ControlKind::Button, {12, 190, 100, 34}, "Info"),
        ui::makeControl(kExitId, ControlKind::Button, {208, 190, 100, 34}, "Exit"),
    };
    t.exitControl = kExitId;
    return t;
}

void runDevconfig(ui::Screen& screen, Clock& clock, RegistryStore& store) {
    auto dialog = screen.createDialog(devconfigTemplate());
    ui::Dialog& d = *dialog;
    d.setTitle(kTitle);
    d.setItems(kScreenListId, labels(kScreenChoices));
    d.setItems(kKeyboardListId, labels(kKeyboardChoices));
    ui::DialogHandlers h;
    h.onButton = [&d](int id) {
        if (id == kScreenChangeId) d.setCommand("SCREEN");
        if (id == kKeyboardChangeId) d.setCommand("KEYBOARD");
        if (id == kInfoId) d.setCommand("INFO");
        if (id == kExitId) d.setCommand("EXIT");
    };
    h.onClose = [&d] { d.setCommand("EXIT"); };
    d.setHandlers(h);
    d.show(true);

    auto changeButtons = [&d](bool enabled) {
        d.setEnabled(kScreenChangeId, enabled);
        d.setEnabled(kKeyboardChangeId, enabled);
    };
    for (;;) {
        screen.pumpMessages();
        const std::string word = d.command();
        d.clearCommand();
        if (word == "EXIT") break;
        if (word == "SCREEN" || word == "KEYBOARD") {
            // The row chosen when "Change" was pressed; no second change can start while
            // this one is written.
            const bool isScreen = word == "SCREEN";
            const int row = d.currentItem(isScreen ? kScreenListId : kKeyboardListId);
            changeButtons(false);
            screen.pumpMessages();
            if (isScreen)
                changeScreen(store, row);
            else
                changeKeyboard(store, row);
            changeButtons(true);
        } else if (word == "INFO") {
            screen.messageBox(infoText(store), kTitle, ui::Buttons::Ok, ui::Icon::Information);
        } else {
            clock.sleepMs(kIdleRestMs);
        }
    }
    d.setHandlers({});
    d.show(false);
}

}  // namespace corvan::devconfig
