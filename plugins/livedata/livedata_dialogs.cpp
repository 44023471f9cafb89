#include "plugins/livedata/livedata_dialogs.h"

#include <string>

#include "plugins/livedata/graph_dialogs.h"
#include "plugins/livedata/livedata_texts.h"

namespace corvan::livedata {

namespace {

ui::ControlSpec control(int id, ui::ControlKind kind, ui::Rect rect, std::string_view text = {}) {
    ui::ControlSpec c;
    c.id = id;
    c.kind = kind;
    c.rect = rect;
    c.text = std::string(text);
    return c;
}

ui::ControlSpec list(int id, ui::Rect rect) {
    ui::ControlSpec c = control(id, ui::ControlKind::ListView, rect);
    c.fullRowSelect = true;
    c.font = {"Tahoma", 0, 400, false};
    c.headerFont = {"Tahoma", 0, 400, false};
    return c;
}

}  // namespace

ui::DialogTemplate preparationTemplate() {
    ui::DialogTemplate t;
    t.name = "LIVEPREP";
    t.title = std::string(kPreparationCaption);
    t.rect = {40, 90, 240, 60};
    t.controls = {control(kPreparationBarId, ui::ControlKind::Progress, {10, 16, 220, 16})};
    return t;
}

ui::DialogTemplate selectionTemplate() {
    ui::DialogTemplate t;
    t.name = "LIVESELECT";
    t.rect = {0, 0, 320, 240};
    t.controls = {
        control(kQuickSelectionId, ui::ControlKind::ComboBox, {4, 4, 200, 22}),
        list(kSelectionListId, {4, 30, 312, 166}),
        control(kOkId, ui::ControlKind::Button, {40, 202, 100, 32}, kOkText),
        control(kExitId, ui::ControlKind::Button, {180, 202, 100, 32}, kExitText),
    };
    t.exitControl = kExitId;
    return t;
}

ui::DialogTemplate liveDataTemplate(bool graphButton) {
    ui::DialogTemplate t;
    t.name = "LIVEDATA";
    t.rect = {0, 0, 320, 240};
    ui::ControlSpec display = control(kValueDisplayId, ui::ControlKind::Label, {4, 158, 226, 34});
    display.font = {"Tahoma", 26, 700, false};
    ui::ControlSpec help = control(kHelpTextId, ui::ControlKind::Label, {4, 194, 226, 44});
    help.multiLine = true;
    help.font = {"Tahoma", 11, 400, false};
    t.controls = {
        control(kTablesHeadingId, ui::ControlKind::Label, {4, 6, 126, 16}),
        control(kTablesId, ui::ControlKind::ComboBox, {132, 2, 184, 22}),
        list(kLiveListId, {4, 26, 312, 122}),
        control(kLiveBarId, ui::ControlKind::Progress, {4, 150, 312, 6}),
        display,
        help,
        control(kExitId, ui::ControlKind::Button, {236, 198, 80, 36}, kExitText),
    };
    if (graphButton)
        t.controls.push_back(control(kGraphButtonId, ui::ControlKind::Button, {236, 158, 80, 36}));
    t.exitControl = kExitId;
    return t;
}

}  // namespace corvan::livedata
