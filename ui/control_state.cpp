#include "ui/control_state.h"

namespace corvan::ui {

std::string ControlState::shownText() const {
    if (kind == ControlKind::ComboBox && currentItem >= 0 &&
        currentItem < static_cast<int>(items.size()))
        return items[currentItem];
    return text;
}

bool ControlState::columnShown(size_t column) const {
    if (columns.empty()) return true;
    return column < columns.size() && columns[column].width > 0;
}

namespace {

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Length in bytes of the UTF-8 character starting at text[i]; malformed bytes count alone.
size_t charLength(std::string_view text, size_t i) {
    const auto c = static_cast<unsigned char>(text[i]);
    size_t n = 1;
    if (c >= 0xF0 && c < 0xF8)
        n = 4;
    else if (c >= 0xE0)
        n = 3;
    else if (c >= 0xC0)
        n = 2;
    if (i + n > text.size()) return 1;
    for (size_t k = 1; k < n; ++k)
        if (!isContinuation(static_cast<unsigned char>(text[i + k]))) return 1;
    return n;
}

// Upper case of one character as the device's edit fields make it: ASCII letters and the
// Latin-1 letters U+00E0..U+00FE (except the division sign) and U+00FF.
std::string upperChar(std::string_view ch) {
    if (ch.size() == 1 && ch[0] >= 'a' && ch[0] <= 'z')
        return std::string(1, static_cast<char>(ch[0] - 'a' + 'A'));
    if (ch.size() == 2 && static_cast<unsigned char>(ch[0]) == 0xC3) {
        const auto second = static_cast<unsigned char>(ch[1]);
        if (second >= 0xA0 && second <= 0xBE && second != 0xB7)
            return std::string{ch[0], static_cast<char>(second - 0x20)};
        if (second == 0xBF) return "\xC5\xB8";  // y with diaeresis
    }
    return std::string(ch);
}

}  // namespace

size_t utf8Length(std::string_view text) {
    size_t count = 0;
    for (size_t i = 0; i < text.size(); i += charLength(text, i)) ++count;
    return count;
}

std::string maskSecret(std::string_view text) {
    return std::string(utf8Length(text), '*');
}

std::string filterTypedText(const ControlSpec& spec, std::string_view typed) {
    std::string out;
    size_t chars = 0;
    for (size_t i = 0; i < typed.size();) {
        const size_t n = charLength(typed, i);
        const std::string_view ch = typed.substr(i, n);
        i += n;
        if (spec.digitsOnly && !(ch.size() == 1 && ch[0] >= '0' && ch[0] <= '9')) continue;
        if (spec.maxLength > 0 && chars >= static_cast<size_t>(spec.maxLength)) break;
        out += spec.upperCase ? upperChar(ch) : std::string(ch);
        ++chars;
    }
    return out;
}

const char* kindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
            return "label";
        case ControlKind::Button:
            return "button";
        case ControlKind::Edit:
            return "edit";
        case ControlKind::CheckBox:
            return "check";
        case ControlKind::Radio:
            return "radio";
        case ControlKind::ComboBox:
            return "combo";
        case ControlKind::ListView:
            return "list";
        case ControlKind::Progress:
            return "progress";
        case ControlKind::Picture:
            return "picture";
        case ControlKind::Graph:
            return "graph";
    }
    return "?";
}

const char* buttonsName(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
            return "Ok";
        case Buttons::YesNo:
            return "YesNo";
        case Buttons::YesNoCancel:
            return "YesNoCancel";
        case Buttons::RetryCancel:
            return "RetryCancel";
    }
    return "?";
}

const char* iconName(Icon icon) {
    switch (icon) {
        case Icon::None:
            return "None";
        case Icon::Information:
            return "Information";
        case Icon::Question:
            return "Question";
        case Icon::Stop:
            return "Stop";
        case Icon::Warning:
            return "Warning";
    }
    return "?";
}

const char* answerName(Answer answer) {
    switch (answer) {
        case Answer::Ok:
            return "Ok";
        case Answer::Yes:
            return "Yes";
        case Answer::No:
            return "No";
        case Answer::Cancel:
            return "Cancel";
        case Answer::Retry:
            return "Retry";
    }
    return "?";
}

}  // namespace corvan::ui
