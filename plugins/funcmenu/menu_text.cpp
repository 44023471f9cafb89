#include "plugins/funcmenu/menu_text.h"

#include "runtime/commands.h"
#include "runtime/hex_text.h"
#include "runtime/param_text.h"

namespace corvan::funcmenu {

ConfigurationKeys readConfiguration(std::string_view text) {
    const int at = findFrom(text, kConfigurationMark);
    return {GetKeyValue(text, "DLL=", at), GetKeyValue(text, "END=", at)};
}

int autorunPosition(std::string_view text) {
    return findFrom(text, kAutorunMark);
}

std::vector<MenuItem> readMenuItems(std::string_view text, std::string_view dataPath,
                                    int language) {
    std::vector<MenuItem> items;
    const int menu = findFrom(text, kMenuMark);
    if (menu < 0) return items;
    const int end = findFrom(text, kEndMark, menu);
    for (int at : findAll(text, kMenuItemMark, menu, end)) {
        if (items.size() == kMaxMenuItems) break;
        MenuItem item;
        item.position = at;
        item.id = GetKeyValue(text, "ID=", at);
        item.report = GetKeyValue(text, "REPORT=", at);
        item.text = stripQuotes(GetKeyValue(text, "TEXT=", at));
        item.dll = GetKeyValue(text, "DLL=", at);
        item.info = GetKeyValue(text, "INFO=", at);
        if (item.info.empty())
            item.info =
                std::string(dataPath) + "\\INF\\" + std::to_string(language) + "\\NOINFO.htm";
        item.message = GetKeyValue(text, "MSG=", at);
        items.push_back(std::move(item));
    }
    return items;
}

std::string itemMessage(const MenuItem& item) {
    if (item.message.empty()) return {};
    const std::string shown = stripQuotes(item.message);
    return shown.empty() ? std::string(" ") : shown;
}

std::string additionalIdBlock(std::string_view configurationResult) {
    std::string block(kAdditionalIdMark);
    block += "\r\n\tID=\t[";
    block += configurationResult;
    block += "]\n\r";
    block += kEndMark;
    return block;
}

std::vector<uint8_t> closingRequest(std::string_view endHex) {
    const std::vector<uint8_t> message = hexToBytes(endHex);
    if (message.empty()) return {};
    return cmd::ecuRequest(message);
}

std::string withoutTrailingAt(std::string_view mode) {
    if (!mode.empty() && mode.back() == '@') mode.remove_suffix(1);
    return std::string(mode);
}

}  // namespace corvan::funcmenu
