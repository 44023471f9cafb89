#pragma once
// The workshop's own identity as the VAG units store it: six identification bytes sent
// with every saved adaptation value, and the workshop code a coding or login block
// carries when the unit reports none. Both are settings of the installation, kept in
// "iCor.cfg" beside PATH=, PORT= and LANGUAGE=, with fixed values when they are absent.
#include <array>
#include <cstdint>
#include <string_view>

#include "runtime/module_context.h"

namespace corvan::vagkline {

// VAG_WORKSHOP_ID=[twelve hexadecimal digits "0"-"9", "A"-"F"], six bytes high first.
inline constexpr std::string_view kWorkshopIdKey = "VAG_WORKSHOP_ID=";
// VAG_WORKSHOP_CODE=[a decimal number 0 to 65535].
inline constexpr std::string_view kWorkshopCodeKey = "VAG_WORKSHOP_CODE=";

using WorkshopId = std::array<uint8_t, 6>;

struct WorkshopSettings {
    WorkshopId identification{0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    uint16_t code = 1234;
    bool operator==(const WorkshopSettings&) const = default;
};

// The settings of a configuration file's text (the keys found by the file's value rule).
// A value that is missing or not written as above keeps its fixed default: a mistyped
// setting must never reach a unit as some other number.
WorkshopSettings parseWorkshopSettings(std::string_view configText);

// The settings of the installation's "iCor.cfg"; the defaults when the file cannot be read.
WorkshopSettings readWorkshopSettings(const ModuleContext& ctx);

}  // namespace corvan::vagkline
