#pragma once
// What the headless backend records of a run, and its text form (the screen dump). The
// format is line based and stable so that dumps of two runs can be compared:
//
//   message-box 1
//     title "CORVAN"
//     text "No response from VarBox\nRETRY?"
//     buttons YesNo
//     icon Question
//     answer No default            ("default" when no script rule answered it)
//   dialog IDENTIFY destroyed       (name, then why: destroyed, request, script)
//     title "ECU IDENTIFICATION: ENGINE"
//     visible no shown yes
//     list #1000 selected 0
//       column 0 "DESCRIPTION" 140
//       column 1 "KEY" 0 hidden
//       row 0 "Part number" | "1234"
//       row 1 grey "Coding" | "???"
//     button #2 "Exit" disabled
//   end
//
// Texts are quoted with \" \\ \n \r \t and \xNN for other control bytes escaped.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/control_state.h"
#include "ui/screen.h"

namespace corvan::ui {

struct MessageBoxRecord {
    int number = 0;  // 1-based, in the order the boxes were shown
    std::string text;
    std::string title;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    Answer answer = Answer::Ok;
    bool byDefault = true;  // no script rule answered it
    int ruleLine = 0;       // line of the answering rule; 0 for a default answer
};

struct DialogSnapshot {
    std::string name;    // the template's name
    std::string reason;  // "destroyed", "request", "script"
    std::string title;
    bool visible = false;
    bool everShown = false;
    std::vector<ControlState> controls;

    const ControlState* control(int id) const;
};

using DumpSink = std::function<void(std::string_view)>;

std::string quoteText(std::string_view text);
// A dialog's name as one word: "-" when empty, blanks turned into '_'.
std::string dumpName(std::string_view name);
std::string formatMessageBox(const MessageBoxRecord& box);
std::string formatSnapshot(const DialogSnapshot& snapshot);

}  // namespace corvan::ui
