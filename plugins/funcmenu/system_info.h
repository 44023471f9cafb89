#pragma once
// System information: the record that heads a report (who ran what, with which data, when)
// and the technician's information box about the box and the data in use. Pure formatting.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/clock.h"

namespace corvan::funcmenu {

struct SystemInfo {
    std::string code;         // "CODE=": box code
    std::string version;      // "VER=": box version
    std::string file;         // "FILE=": data file
    std::string dataName;     // "NAMEDAT="
    std::string dataVersion;  // "VERDAT="
};

// The keys from the text after "#EXTENDED_INFORMATION" (the whole text without one).
SystemInfo readSystemInfo(std::string_view text);

// "%i-%i-%i" day, month, year and "%i:%i:%i" hours, minutes, seconds: no leading zeros.
std::string deviceDate(const CivilTime& t);
std::string deviceTime(const CivilTime& t);

// "[SYS]=SYSTEM INFORMATION@i000|NAME|...|" with the function name, the data file, data name
// and version, the date and time, and the box code.
std::string systemInfoRecord(std::string_view functionName, const SystemInfo& info,
                             const CivilTime& now);

// Texts of the state reply: byte 3 is the connection state, byte 14 the driver checksum flag.
std::string stateText(uint8_t state, int language);
std::string checksumWord(uint8_t flag);  // "OK" for 0, "WRONG" otherwise

// The driver name in the name reply: bytes 3 .. 21, up to the first zero byte.
std::string driverNameFromReply(std::span<const uint8_t> reply);

// The information box's text in the technician's language.
std::string informationText(int language, const SystemInfo& info, std::string_view driverName,
                            std::string_view checksum, std::string_view state);

}  // namespace corvan::funcmenu
