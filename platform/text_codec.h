#pragma once
// Files of the installation are single-byte Windows-1252 (as the WHATWG Encoding Standard
// defines it: the five bytes it leaves undefined map to the C1 controls U+0081, U+008D,
// U+008F, U+0090, U+009D, so every byte round-trips). Inside the program text is UTF-8.
#include <string>
#include <string_view>

namespace corvan {

std::string cp1252ToUtf8(std::string_view bytes);

// Characters with no Windows-1252 byte become '?'; malformed UTF-8 bytes become '?' too.
std::string utf8ToCp1252(std::string_view text);

// Upper case of ASCII letters only (device paths and key words).
std::string asciiUpper(std::string_view s);
bool equalsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace corvan
