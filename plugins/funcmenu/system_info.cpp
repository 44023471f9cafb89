#include "plugins/funcmenu/system_info.h"

#include <cstdio>
#include <string>

#include "platform/text_codec.h"
#include "plugins/funcmenu/funcmenu_texts.h"
#include "runtime/param_text.h"

namespace corvan::funcmenu {

namespace {

constexpr std::string_view kExtendedInformationMark = "#EXTENDED_INFORMATION";
constexpr std::string_view kSystemInfoFormat =
    "[SYS]=SYSTEM INFORMATION@i000|NAME|%s|@i001|FILE|%s|@i002|DAT|%s|@i003|VER|%s|@i004|DATE|%s|"
    "@i005|TIME|%s|@i006|CODE|%s|";

constexpr size_t kNameFirst = 3, kNameBytes = 19;

// snprintf into a text of whatever length the fields need.
template <typename... Args>
std::string format(std::string_view fmt, Args... args) {
    const std::string f(fmt);
    const int n = std::snprintf(nullptr, 0, f.c_str(), args...);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(out.data(), out.size(), f.c_str(), args...);
    out.resize(static_cast<size_t>(n));
    return out;
}

}  // namespace

SystemInfo readSystemInfo(std::string_view text) {
    const int at = findFrom(text, kExtendedInformationMark);
    const std::string_view tail = at < 0 ? text : text.substr(static_cast<size_t>(at));
    return {GetKeyValue(tail, "CODE="), GetKeyValue(tail, "VER="), GetKeyValue(tail, "FILE="),
            GetKeyValue(tail, "NAMEDAT="), GetKeyValue(tail, "VERDAT=")};
}

std::string deviceDate(const CivilTime& t) {
    return format("%i-%i-%i", t.day, t.month, t.year);
}

std::string deviceTime(const CivilTime& t) {
    return format("%i:%i:%i", t.hour, t.minute, t.second);
}

std::string systemInfoRecord(std::string_view functionName, const SystemInfo& info,
                             const CivilTime& now) {
    const std::string name(functionName), date = deviceDate(now), time = deviceTime(now);
    return format(kSystemInfoFormat, name.c_str(), info.file.c_str(), info.dataName.c_str(),
                  info.dataVersion.c_str(), date.c_str(), time.c_str(), info.code.c_str());
}

std::string stateText(uint8_t state, int language) {
    switch (state) {
        case 0:
            return PickText(kStateDisconnected, language);
        case 1:
            return PickText(kStateConnected, language);
        case 2:
            return PickText(kStateConnecting, language);
        default:
            return PickText(kStateOther, language);
    }
}

std::string checksumWord(uint8_t flag) {
    return flag == 0 ? "OK" : "WRONG";
}

std::string driverNameFromReply(std::span<const uint8_t> reply) {
    std::string name;
    for (size_t i = kNameFirst; i < kNameFirst + kNameBytes && i < reply.size(); ++i) {
        if (reply[i] == 0) break;
        name += static_cast<char>(reply[i]);
    }
    // The box's name bytes are in the installation's code page.
    return cp1252ToUtf8(name);
}

std::string informationText(int language, const SystemInfo& info, std::string_view driverName,
                            std::string_view checksum, std::string_view state) {
    const std::string fmt = PickText(kInformationText, language);
    const std::string driver(driverName), sum(checksum), st(state);
    return format(fmt, info.code.c_str(), info.version.c_str(), info.dataName.c_str(),
                  info.dataVersion.c_str(), driver.c_str(), sum.c_str(), st.c_str());
}

}  // namespace corvan::funcmenu
