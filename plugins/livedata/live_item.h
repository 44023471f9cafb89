#pragma once
// One measured value of the live-data list as the catalogue describes it: nine texts, the
// last of which holds first the ECU's answer (hexadecimal text) and then the shown value.
#include <string>
#include <string_view>

namespace corvan::livedata {

struct LiveItem {
    std::string selected;     // "TRUE" while the item is polled
    std::string key;          // "D001": the four characters after the '@' of the item mark
    std::string description;  // may be written in double quotes
    std::string request;      // hexadecimal text, or "@pre@main@post"
    std::string position;     // byte index, "i,j" for 16 bits; field number for VAG kinds
    std::string conversion;   // "CAL ...", "LOG ...", "TBL ...", "VAG", "VAGCAN", anything else
    std::string unit;         // unit text; for "LOG" the two state texts; decoded for VAG kinds
    std::string spare;        // kept as read
    std::string value;        // the answer text, then the shown value

    bool isSelected() const { return selected == "TRUE"; }
    bool isVag() const { return conversion == "VAG"; }
    bool isVagCan() const { return conversion == "VAGCAN"; }
    bool isVagKind() const { return isVag() || isVagCan(); }
};

// The item number that the recommended-value tables use: the digits after the mark letter,
// read as a decimal number (the last three characters of the key); -1 when they are not
// digits.
int itemNumber(std::string_view key);

// Lists show a text written in double quotes with blanks in place of the quotes.
std::string quotesAsBlanks(std::string_view text);

}  // namespace corvan::livedata
