#pragma once
// The parameter text a plug-in is called with: section marks at line starts ("#MENU",
// "#CONFIGURATION", ...), menu items starting with "<MNU", and keys written KEY=[value].
// All lookups are plain case-sensitive substring searches, as the data were written for
// them. Positions are character indices; any position (negative, past the end) is safe.
#include <string>
#include <string_view>
#include <vector>

#include "runtime/hex_text.h"

namespace corvan {

inline constexpr std::string_view kMenuItemMark = "<MNU";

// The value of the first `key` at or after `start`: the text between the first "[" after
// the key and the following "]". A key lying at or beyond the next "<MNU" after `start`
// belongs to the following menu item and is not taken. Empty when absent or unbalanced.
std::string GetKeyValue(std::string_view text, std::string_view key, int start = 0);

// Where GetKeyValue finds `key` (same menu-item bound); -1 when it does not.
int findKey(std::string_view text, std::string_view key, int start = 0);

// The sequential bracket reader: the text between the next "[" at or after `pos` and the
// following "]"; `pos` moves to just after that "]". Without a complete pair the result is
// empty and `pos` moves to the end, so a reader looping over fields stops.
std::string readBracket(std::string_view text, int& pos);

// Position of the first `needle` at or after `from`; -1 when absent.
int findFrom(std::string_view text, std::string_view needle, int from = 0);

// Positions of every `needle` in [from, to) (to < 0: the end of the text).
std::vector<int> findAll(std::string_view text, std::string_view needle, int from = 0, int to = -1);

// The text of a section: from its mark to the next section mark at a line start ("#" after
// CR or LF), or to the end. Empty when the mark is absent.
std::string_view sectionText(std::string_view text, std::string_view mark);

// Texts written with a quote at each end ("TEXT=" of menu items, descriptions): the quote
// at each end is removed where present.
std::string stripQuotes(std::string_view s);

// The text without its first and last character (empty when shorter than 2).
std::string dropEnds(std::string_view s);

// A decimal value as the data write it: leading blanks and tabs, a sign, digits; anything
// else ends the number (no digits: 0). Capped at +-1 000 000 000, which only ever means
// "more than any reply holds".
long long readDecimal(std::string_view s);

}  // namespace corvan
