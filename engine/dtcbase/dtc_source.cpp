#include "engine/dtcbase/dtc_source.h"

#include <set>
#include <vector>

#include "platform/text_codec.h"

namespace corvan::dtc {

namespace {

struct Field {
    std::string value;
    bool quoted = false;
};

// The bracketed fields of a line, or an error text.
std::string splitFields(std::string_view line, std::vector<Field>& fields) {
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        if (line[i] != '[') return "text outside brackets";
        Field f;
        ++i;
        if (i < line.size() && line[i] == '"') {
            const size_t close = line.find('"', i + 1);
            if (close == std::string_view::npos) return "a quote is not closed";
            f.value = std::string(line.substr(i + 1, close - i - 1));
            f.quoted = true;
            i = close + 1;
            if (i >= line.size() || line[i] != ']') return "a quoted field does not end with \"]";
        } else {
            const size_t close = line.find(']', i);
            if (close == std::string_view::npos) return "a \"[\" is not closed";
            f.value = std::string(line.substr(i, close - i));
            if (f.value.find('"') != std::string::npos || f.value.find('[') != std::string::npos)
                return "a field holds a quote or a \"[\"";
            i = close;
        }
        fields.push_back(std::move(f));
        ++i;
    }
    return {};
}

std::string checkEntry(const std::vector<Field>& f, SourceKind kind) {
    const size_t wanted = kind == SourceKind::TroubleCodes ? 4 : 3;
    if (f.size() != wanted)
        return "expected " + std::to_string(wanted) + " bracketed fields, found " +
               std::to_string(f.size());
    if (f[0].quoted || f[0].value.empty()) return "the code must be written without quotes";
    if (!f[1].quoted) return "the description must be quoted";
    if (kind == SourceKind::TroubleCodes) {
        if (!f[2].quoted) return "the detail must be quoted";
        if (f[3].quoted) return "the extra value is written without quotes";
    } else {
        if (f[0].value.size() != 5 ||
            f[0].value.find_first_not_of("0123456789") != std::string::npos)
            return "an actuator code is five decimal digits";
        if (f[2].quoted) return "the help document is written without quotes";
    }
    return {};
}

}  // namespace

CompiledSource compileSource(std::string_view source, SourceKind kind) {
    CompiledSource out;
    std::string text;
    std::set<std::string> codes;
    if (source.starts_with("\xEF\xBB\xBF")) source.remove_prefix(3);
    int number = 0;
    for (size_t from = 0; from <= source.size();) {
        size_t end = source.find('\n', from);
        if (end == std::string_view::npos) end = source.size();
        std::string_view line = source.substr(from, end - from);
        from = end + 1;
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line[first] == '#') continue;
        auto fail = [&](const std::string& why) {
            out.error = "line " + std::to_string(number) + ": " + why;
            out.text.clear();
            return out;
        };
        std::vector<Field> fields;
        std::string problem = splitFields(line, fields);
        if (problem.empty()) problem = checkEntry(fields, kind);
        if (!problem.empty()) return fail(problem);
        if (!codes.insert(fields[0].value).second)
            return fail("code " + fields[0].value + " twice");
        const std::string stored = utf8ToCp1252(line.substr(first));
        if (cp1252ToUtf8(stored) != line.substr(first))
            return fail("a character the terminal's code page does not have");
        text += stored;
        text += "\r\n";
        ++out.entries;
    }
    out.text = std::move(text);
    return out;
}

}  // namespace corvan::dtc
