#include "plugins/vagkline/workshop_settings.h"

#include <optional>
#include <string>

#include "platform/config_text.h"
#include "runtime/data_path.h"
#include "runtime/hex_text.h"

namespace corvan::vagkline {

namespace {

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F');
}

std::optional<WorkshopId> parseId(const std::string& value) {
    if (value.size() != 2 * WorkshopId{}.size()) return std::nullopt;
    for (char c : value)
        if (!isHexDigit(c)) return std::nullopt;
    WorkshopId id{};
    for (size_t i = 0; i < id.size(); ++i) id[i] = hexByteAt(value, 2 * i);
    return id;
}

std::optional<uint16_t> parseCode(const std::string& value) {
    if (value.empty() || value.size() > 5) return std::nullopt;
    uint32_t n = 0;
    for (char c : value) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + static_cast<uint32_t>(c - '0');
    }
    if (n > 0xFFFF) return std::nullopt;
    return static_cast<uint16_t>(n);
}

}  // namespace

WorkshopSettings parseWorkshopSettings(std::string_view configText) {
    WorkshopSettings s;
    if (const auto id = parseId(configValue(configText, kWorkshopIdKey))) s.identification = *id;
    if (const auto code = parseCode(configValue(configText, kWorkshopCodeKey))) s.code = *code;
    return s;
}

WorkshopSettings readWorkshopSettings(const ModuleContext& ctx) {
    const std::optional<std::string> text = readConfigText(ctx);
    return text ? parseWorkshopSettings(*text) : WorkshopSettings{};
}

}  // namespace corvan::vagkline
