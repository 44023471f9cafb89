#pragma once
// A dialog is built from a template: a list of controls with identifiers, kinds and layout
// hints in 320 x 240 device pixels. Backends lay the controls out from the hints.
#include <string>
#include <vector>

namespace corvan::ui {

enum class ControlKind {
    Label,
    Button,
    Edit,
    CheckBox,
    Radio,
    ComboBox,
    ListView,  // report-style list with columns
    Progress,
    Picture,
    Graph,  // values over time (ui/graph_view.h), set whole with Dialog::setGraph
};

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
};

struct FontSpec {
    std::string family;   // empty: the system font ("Tahoma" where the screens name it)
    int pixelHeight = 0;  // 0: default
    int weight = 400;     // 400 normal, 700 bold, 800 heavy
    bool italic = false;
};

struct ControlSpec {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    std::string text;  // initial text (button label, label text)
    Rect rect;
    // Edit fields.
    bool digitsOnly = false;
    bool upperCase = false;
    int maxLength = 0;  // 0: unlimited
    bool readOnly = false;
    bool multiLine = false;
    // A PIN or access code: the field shows one '*' per character, on the screens and in the
    // screen dump; the module still reads what was typed.
    bool secret = false;
    // Radio choices of one group are exclusive.
    int group = 0;
    // List views: one tap selects the whole row.
    bool fullRowSelect = true;
    bool showHeader = true;
    FontSpec font;        // rows / text
    FontSpec headerFont;  // list headings
    // Buttons: a picture (BMP device path) instead of, or beside, the label.
    std::string bitmap;
    // Buttons: the text a pen resting on it shows; a picture button whose picture cannot be
    // found and that has no label shows it as its label.
    std::string toolTip;
    bool visible = true;
};

// A control with its identifier, kind, place and initial text; the other fields as declared.
inline ControlSpec makeControl(int id, ControlKind kind, Rect rect, std::string text = {}) {
    ControlSpec c;
    c.id = id;
    c.kind = kind;
    c.rect = rect;
    c.text = std::move(text);
    return c;
}

struct DialogTemplate {
    std::string name;   // e.g. "FUNCMENU" (dumps and screenshots use it)
    std::string title;  // initial title
    Rect rect{0, 0, 320, 240};
    bool portrait = false;
    bool fullScreen = false;
    std::vector<ControlSpec> controls;
    // The control whose press (and closing the dialog) means "leave"; 0 when none. The
    // headless backend presses it when a script has nothing left to do.
    int exitControl = 0;
};

}  // namespace corvan::ui
