#include "platform/config_text.h"

namespace corvan {

std::string configValue(std::string_view text, std::string_view key) {
    const size_t at = text.find(key);
    if (at == std::string_view::npos) return {};
    // Both brackets are searched from the key itself.
    const size_t open = text.find('[', at);
    const size_t close = text.find(']', at);
    if (open == std::string_view::npos || close == std::string_view::npos || close < open)
        return {};
    return std::string(text.substr(open + 1, close - open - 1));
}

int languageIndexOf(std::string_view languageName) {
    if (languageName == "SPANISH") return 0;
    if (languageName == "ENGLISH") return 1;
    if (languageName == "GERMAN") return 2;
    if (languageName == "PORTUGUESE") return 5;
    return 0;
}

}  // namespace corvan
