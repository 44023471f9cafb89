#include "ui/screen_dump.h"

#include <cstdio>

#include "platform/quoted_text.h"

namespace corvan::ui {

const ControlState* DialogSnapshot::control(int id) const {
    for (const auto& c : controls)
        if (c.id == id) return &c;
    return nullptr;
}

std::string quoteText(std::string_view text) {
    return corvan::quoteText(text);
}

std::string dumpName(std::string_view name) {
    if (name.empty()) return "-";
    std::string out(name);
    for (char& c : out)
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') c = '_';
    return out;
}

std::string formatMessageBox(const MessageBoxRecord& box) {
    std::string out = "message-box " + std::to_string(box.number) + "\n";
    out += "  title " + quoteText(box.title) + "\n";
    out += "  text " + quoteText(box.text) + "\n";
    out += std::string("  buttons ") + buttonsName(box.buttons) + "\n";
    out += std::string("  icon ") + iconName(box.icon) + "\n";
    out += std::string("  answer ") + answerName(box.answer);
    out += box.byDefault ? " default\n" : " rule " + std::to_string(box.ruleLine) + "\n";
    return out;
}

namespace {

void formatList(const ControlState& c, std::string& out) {
    for (size_t i = 0; i < c.columns.size(); ++i) {
        out += "    column " + std::to_string(i) + " " + quoteText(c.columns[i].heading) + " " +
               std::to_string(c.columns[i].width);
        out += c.columns[i].width > 0 ? "\n" : " hidden\n";
    }
    for (size_t r = 0; r < c.rows.size(); ++r) {
        out += "    row " + std::to_string(r);
        if (c.rows[r].grey) out += " grey";
        for (size_t k = 0; k < c.rows[r].cells.size(); ++k)
            out += (k == 0 ? " " : " | ") + quoteText(c.rows[r].cells[k]);
        out += "\n";
    }
}

void formatControl(const ControlState& c, std::string& out) {
    out += std::string("  ") + kindName(c.kind) + " #" + std::to_string(c.id);
    switch (c.kind) {
        case ControlKind::ListView:
            out += " selected " + std::to_string(c.selectedRow);
            break;
        case ControlKind::ComboBox:
            out += " current " + std::to_string(c.currentItem);
            break;
        case ControlKind::Progress:
            out += " " + std::to_string(c.low) + ".." + std::to_string(c.high) + " value " +
                   std::to_string(c.value);
            break;
        case ControlKind::Picture:
            out += " " + quoteText(c.picture);
            break;
        case ControlKind::Graph:
            out += " traces " + std::to_string(c.graph.traces.size());
            break;
        default:
            out += " " + quoteText(c.secret ? maskSecret(c.text) : c.text);
    }
    if ((c.kind == ControlKind::CheckBox || c.kind == ControlKind::Radio) && c.checked)
        out += " checked";
    if (!c.enabled) out += " disabled";
    if (!c.visible) out += " hidden";
    out += "\n";
    if (c.kind == ControlKind::ListView) formatList(c, out);
    if (c.kind == ControlKind::Graph) out += formatGraph(c.graph, "    ");
    if (c.kind == ControlKind::ComboBox)
        for (size_t i = 0; i < c.items.size(); ++i)
            out += "    item " + std::to_string(i) + " " + quoteText(c.items[i]) + "\n";
}

}  // namespace

std::string formatSnapshot(const DialogSnapshot& snapshot) {
    std::string out = "dialog " + dumpName(snapshot.name) + " " + snapshot.reason + "\n";
    out += "  title " + quoteText(snapshot.title) + "\n";
    out += std::string("  visible ") + (snapshot.visible ? "yes" : "no") + " shown " +
           (snapshot.everShown ? "yes" : "no") + "\n";
    for (const auto& c : snapshot.controls) formatControl(c, out);
    out += "end\n";
    return out;
}

}  // namespace corvan::ui
