#pragma once
// What the function menu reads from the parameter text of an ECU: the configuration keys,
// the optional automatic plug-in, the menu items, and the block it appends with the ECU's
// answer for the functions it calls. Pure text work, no I/O.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvan::funcmenu {

inline constexpr std::string_view kConfigurationMark = "#CONFIGURATION";
inline constexpr std::string_view kAutorunMark = "#AUTORUN";
inline constexpr std::string_view kMenuMark = "#MENU";
inline constexpr std::string_view kEndMark = "#END";
inline constexpr std::string_view kAdditionalIdMark = "#ADITIONAL_ID";

// The menu shows at most this many rows; further items are not read.
inline constexpr size_t kMaxMenuItems = 30;

struct ConfigurationKeys {
    std::string dll;  // file name of the configuration plug-in
    std::string end;  // hexadecimal request for the ECU when the menu closes
};

// "DLL=" and "END=" from the position of "#CONFIGURATION" (from the start of the text when
// the mark is missing, where the first menu item bounds the search).
ConfigurationKeys readConfiguration(std::string_view text);

// Position of "#AUTORUN", or -1 when the text has no automatic plug-in.
int autorunPosition(std::string_view text);

struct MenuItem {
    int position = 0;     // of its "<MNU" in the text
    std::string id;       // "ID="
    std::string report;   // "REPORT="
    std::string text;     // "TEXT=", quotes removed: the row text
    std::string dll;      // "DLL=": file name of the function plug-in
    std::string info;     // "INFO=", or the installation's "no information" page
    std::string message;  // "MSG=" as written (quoted), may be empty
};

// The items: every "<MNU" after "#MENU" up to the first "#END" after it, at most 30. Keys
// are looked up from each item's "<MNU", so they never come from the next item.
std::vector<MenuItem> readMenuItems(std::string_view text, std::string_view dataPath, int language);

// The message shown before an item's plug-in runs: "MSG=" without its quotes, a single
// blank for an empty quoted value; an empty text when the item has none.
std::string itemMessage(const MenuItem& item);

// "#ADITIONAL_ID" CR LF TAB "ID=" TAB "[" value "]" LF CR "#END", appended to the text the
// functions get, so identification can show the ECU's answer to the connection.
std::string additionalIdBlock(std::string_view configurationResult);

// The request sent to the ECU when the menu closes: the bytes of "END=" as an ECU message
// (80, n+1, 20, 00, bytes), or nothing when "END=" holds no byte.
std::vector<uint8_t> closingRequest(std::string_view endHex);

// The mode word without one trailing "@" (the configuration plug-in alone sees the "@").
std::string withoutTrailingAt(std::string_view mode);

}  // namespace corvan::funcmenu
