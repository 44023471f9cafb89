#include "plugins/codingcommon/key_entry.h"

#include "platform/text_codec.h"

namespace corvan::coding {

int numberOfKeys(std::string_view text) {
    int n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') break;
        n = n * 10 + (c - '0');
        if (n > 999) return 999;
    }
    return n;
}

std::string pinCharacters(std::string_view typed) {
    return utf8ToCp1252(typed);
}

bool entryComplete(std::string_view typedPin, std::string_view keysText) {
    const int keys = numberOfKeys(keysText);
    return pinCharacters(typedPin).size() == kPinLength && keys >= kMinKeys && keys <= kMaxKeys;
}

}  // namespace corvan::coding
