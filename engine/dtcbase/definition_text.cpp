#include "engine/dtcbase/definition_text.h"

#include <cstdio>

#include "runtime/param_text.h"

namespace corvan::dtc {

namespace {

constexpr char kQuote = '"';

// One field from `pos` on; `pos` moves past its "]" (or to the end).
std::string readField(std::string_view text, size_t& pos) {
    const size_t open = text.find('[', pos);
    if (open == std::string_view::npos) {
        pos = text.size();
        return {};
    }
    size_t from = open + 1, to;
    if (from < text.size() && text[from] == kQuote) {
        ++from;
        to = text.find(kQuote, from);
        if (to == std::string_view::npos) to = text.size();
        // The field itself ends at the "]" after its closing quote.
        const size_t close = text.find(']', to);
        pos = close == std::string_view::npos ? text.size() : close + 1;
    } else {
        to = text.find(']', from);
        if (to == std::string_view::npos) to = text.size();
        pos = to == text.size() ? to : to + 1;
    }
    return std::string(text.substr(from, to - from));
}

}  // namespace

std::optional<DefinitionFields> findDefinition(std::string_view text, std::string_view key) {
    if (key.empty()) return std::nullopt;
    const size_t at = text.find(key);
    if (at == std::string_view::npos) return std::nullopt;
    size_t pos = at + key.size();
    DefinitionFields f;
    f.description = readField(text, pos);
    f.detail = readField(text, pos);
    f.extra = readField(text, pos);
    return f;
}

std::optional<ActuatorEntry> findActuator(std::string_view text, int code) {
    char key[16];
    std::snprintf(key, sizeof key, "%.5i", code);
    const size_t at = text.find(key);
    if (at == std::string_view::npos) return std::nullopt;
    ActuatorEntry e;
    const size_t open = text.find('[', at);
    if (open == std::string_view::npos) return e;
    const size_t from = std::min(open + 2, text.size());
    size_t end = text.find(kQuote, from);
    if (end == std::string_view::npos) end = text.size();
    e.description = std::string(text.substr(from, end - from));
    int pos = static_cast<int>(std::min(end + 1, text.size()));
    e.helpDocument = readBracket(text, pos);
    return e;
}

}  // namespace corvan::dtc
