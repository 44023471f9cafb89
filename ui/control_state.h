#pragma once
// The state the headless backend keeps for one control: everything a module can set through
// the Dialog interface and everything a dump shows.
#include <string>
#include <string_view>
#include <vector>

#include "ui/dialog_template.h"
#include "ui/screen.h"

namespace corvan::ui {

struct ListRow {
    std::vector<std::string> cells;
    bool grey = false;
};

struct ControlState {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    std::string text;
    bool enabled = true;
    bool visible = true;
    bool checked = false;  // check boxes and radio choices
    // List views.
    std::vector<Column> columns;
    std::vector<ListRow> rows;
    int selectedRow = -1;
    // Drop-downs.
    std::vector<std::string> items;
    int currentItem = -1;
    // Progress bars.
    int low = 0, high = 100, value = 0;
    // Pictures (host path).
    std::string picture;
    // Edit fields holding a PIN: dumps show maskSecret(text).
    bool secret = false;
    // Graphs.
    GraphView graph;

    // The text the technician reads: a drop-down shows its current item.
    std::string shownText() const;
    // Whether column `column` of a list can be seen (width above 0; every column of a list
    // without headings counts as seen).
    bool columnShown(size_t column) const;
};

// What typing `typed` into an edit field gives, as the field's options allow: digits only,
// upper case (ASCII and Latin-1 letters) and a length limit counted in characters.
std::string filterTypedText(const ControlSpec& spec, std::string_view typed);

// Number of characters (code points) of a UTF-8 text.
size_t utf8Length(std::string_view text);

// What a secret field shows: one '*' per character.
std::string maskSecret(std::string_view text);

const char* kindName(ControlKind kind);
const char* buttonsName(Buttons buttons);
const char* iconName(Icon icon);
const char* answerName(Answer answer);

}  // namespace corvan::ui
