#pragma once
// Shared by the screen layer's tests: a dialog with one control of each kind and a small
// module loop written the way every module writes it (handlers only store a command word;
// the loop pumps and acts on it until "EXIT").
#include <memory>
#include <string>
#include <vector>

#include "ui/headless_screen.h"

namespace corvan::ui::testing {

enum Ids {
    kList = 100,
    kSelect = 1,
    kExit = 2,
    kInfo = 3,
    kLabel = 10,
    kEdit = 11,
    kCheck = 12,
    kRadioA = 13,
    kRadioB = 14,
    kCombo = 15,
    kProgress = 16,
    kPicture = 17,
};

inline ControlSpec spec(int id, ControlKind kind, std::string text = {}) {
    ControlSpec s;
    s.id = id;
    s.kind = kind;
    s.text = std::move(text);
    return s;
}

inline DialogTemplate sampleTemplate() {
    DialogTemplate t;
    t.name = "SAMPLE";
    t.title = "SAMPLE: ";
    t.exitControl = kExit;
    t.controls = {spec(kList, ControlKind::ListView),
                  spec(kSelect, ControlKind::Button, "SELECT"),
                  spec(kExit, ControlKind::Button, "Exit"),
                  spec(kInfo, ControlKind::Button, "Information"),
                  spec(kLabel, ControlKind::Label, "Power"),
                  spec(kEdit, ControlKind::Edit),
                  spec(kCheck, ControlKind::CheckBox, "Keep"),
                  spec(kRadioA, ControlKind::Radio, "Front"),
                  spec(kRadioB, ControlKind::Radio, "Rear"),
                  spec(kCombo, ControlKind::ComboBox),
                  spec(kProgress, ControlKind::Progress),
                  spec(kPicture, ControlKind::Picture)};
    return t;
}

// A module in miniature: a list of functions, SELECT/double tap run the selected one (here:
// remember it), Information asks the Control key, Exit and the close box leave.
struct FakeModule {
    explicit FakeModule(HeadlessScreen& s) : screen(s) {
        dialog = screen.createDialog(sampleTemplate());
        Dialog* d = dialog.get();
        d->setTitle("SAMPLE: ENGINE");
        d->setColumns(kList, {{"OPTIONS", 185}, {"KEY", 0}});
        for (const char* name : {"IDENTIFICATION", "TROUBLE CODES", "LIVE DATA"})
            d->addRow(kList, {name, std::string("K-") + name});
        d->setItems(kCombo, {"KWP 2000", "ISO 9141"});
        DialogHandlers h;
        h.onButton = [d, this](int id) {
            if (id == kExit) d->setCommand("EXIT");
            if (id == kSelect && d->selectedRow(kList) >= 0) d->setCommand("EXECUTE");
            if (id == kInfo) d->setCommand(screen.keyDown(kControlKey) ? "ADVANCED" : "iCOR");
            if (id == kCheck) d->setCommand("CHECK");
        };
        h.onRowTap = [d](int, int) { d->setCommand("SELECT"); };
        h.onRowDoubleTap = [d](int, int) { d->setCommand("EXECUTE"); };
        h.onTextChange = [d](int) { d->setCommand("TEXT"); };
        h.onSelectionChange = [d](int id) { d->setCommand("CHOICE " + std::to_string(id)); };
        h.onClose = [d] { d->setCommand("EXIT"); };
        d->setHandlers(std::move(h));
    }

    // Runs the loop until "EXIT"; every command word seen is kept in `words`.
    void run() {
        dialog->show(true);
        for (;;) {
            screen.pumpMessages();
            const std::string word = dialog->command();
            if (word.empty()) continue;
            dialog->clearCommand();
            words.push_back(word);
            if (word == "EXIT") break;
            if (word == "EXECUTE")
                executed.push_back(dialog->cell(kList, dialog->selectedRow(kList), 0));
        }
        dialog.reset();
    }

    HeadlessScreen& screen;
    std::unique_ptr<Dialog> dialog;
    std::vector<std::string> words;
    std::vector<std::string> executed;
};

}  // namespace corvan::ui::testing
