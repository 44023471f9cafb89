#pragma once
// The menu files of the data folder: every byte XOR 0x9E, then single-byte Windows-1252 text
// cut into lines at "\r\n" (text after the last "\r\n" is not a line), fields separated by
// "¬".
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvan {
class DeviceRoot;
}

namespace corvan::shell {

inline constexpr unsigned char kMenuKey = 0x9E;
inline constexpr std::string_view kFieldMark = "¬";  // U+00AC, one byte 0xAC in the file

// File bytes -> UTF-8 text, and back (the menu tool writes files with it).
std::string descrambleMenu(std::string_view fileBytes);
std::string scrambleMenu(std::string_view text);

// The lines of a menu text: only text followed by "\r\n" forms a line.
std::vector<std::string_view> menuLines(std::string_view text);

// Calls `each` for every line, in order, without building a list (long vehicle files).
template <typename Each>
void forEachMenuLine(std::string_view text, Each&& each) {
    size_t pos = 0;
    for (size_t end; (end = text.find("\r\n", pos)) != std::string_view::npos; pos = end + 2)
        each(text.substr(pos, end - pos));
}

// Field n of a line: the text between the n-th and the (n+1)-th "¬" (field 0 before the
// first); the last field runs to the end of the line. Empty when the line has fewer fields.
std::string_view menuField(std::string_view line, int n);

// Field n and everything after it, further "¬" included (the connection picture, the last
// field of a vehicle line, runs to the end of the line).
std::string_view menuFieldToEnd(std::string_view line, int n);

// "¬" + key + "¬": how lines and the running lists of a page recognise a key.
std::string fieldKey(std::string_view key);

// Reads and descrambles a menu file of the device; nullopt when it cannot be opened.
std::optional<std::string> readMenuFile(const DeviceRoot& root, std::string_view devicePath);

}  // namespace corvan::shell
