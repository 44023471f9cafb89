#include "plugins/livedata/graph_dialogs.h"

namespace corvan::livedata {

using ui::ControlKind;
using ui::makeControl;

ui::DialogTemplate graphTemplate() {
    ui::DialogTemplate t;
    t.name = "LIVEGRAPH";
    t.rect = {0, 0, 320, 240};
    for (int k = 0; k < kStripCount; ++k)
        t.controls.push_back(
            makeControl(kStripItemIds[k], ControlKind::ComboBox, {4 + 104 * k, 2, 100, 22}));
    t.controls.push_back(makeControl(kGraphId, ControlKind::Graph, {4, 26, 312, 170}));
    t.controls.push_back(makeControl(kPauseId, ControlKind::Button, {4, 200, 52, 36}));
    t.controls.push_back(makeControl(kBackId, ControlKind::Button, {58, 200, 40, 36}, "<<"));
    t.controls.push_back(makeControl(kForthId, ControlKind::Button, {100, 200, 40, 36}, ">>"));
    t.controls.push_back(makeControl(kCsvId, ControlKind::Button, {142, 200, 50, 36}, "CSV"));
    t.controls.push_back(makeControl(kTriggerId, ControlKind::Button, {194, 200, 62, 36}));
    t.controls.push_back(
        makeControl(kGraphExitId, ControlKind::Button, {258, 200, 58, 36}, "Exit"));
    t.exitControl = kGraphExitId;
    return t;
}

ui::DialogTemplate triggerTemplate() {
    ui::DialogTemplate t;
    t.name = "LIVETRIGGER";
    t.rect = {0, 0, 320, 240};
    const int fields[5] = {kTriggerItemId, kTriggerConditionId, kThresholdId, kBeforeId, kAfterId};
    for (int k = 0; k < 5; ++k) {
        const int y = 6 + 34 * k;
        t.controls.push_back(
            makeControl(kTriggerLabelIds[k], ControlKind::Label, {4, y + 4, 110, 18}));
        const ControlKind kind = k < 2 ? ControlKind::ComboBox : ControlKind::Edit;
        ui::ControlSpec field = makeControl(fields[k], kind, {118, y, 198, 24});
        if (k >= 3) {
            field.digitsOnly = true;
            field.maxLength = 2;
        }
        if (k == 2) field.maxLength = 12;
        t.controls.push_back(field);
    }
    t.controls.push_back(makeControl(kArmId, ControlKind::Button, {40, 196, 100, 36}));
    t.controls.push_back(makeControl(kTriggerCancelId, ControlKind::Button, {180, 196, 100, 36}));
    t.exitControl = kTriggerCancelId;
    return t;
}

}  // namespace corvan::livedata
