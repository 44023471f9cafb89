#include "platform/quoted_text.h"

#include <cstdio>

namespace corvan {

std::string quoteText(std::string_view text) {
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (ch) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20 || c == 0x7F) {
                    char hex[8];
                    std::snprintf(hex, sizeof hex, "\\x%.2X", c);
                    out += hex;
                } else {
                    out += ch;
                }
        }
    }
    out += '"';
    return out;
}

}  // namespace corvan
