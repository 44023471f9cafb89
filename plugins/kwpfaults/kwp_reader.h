#pragma once
// Reading the stored trouble codes of a KWP 2000 unit: one pass with the present-codes
// request, a second with the intermittent-codes request when the data give one, each reply
// checked by its OK byte (asked for once more when it does not hold it) and cut into
// records. Window messages are dispatched between the entries so the caller's window stays
// alive.
#include <string_view>
#include <vector>

#include "plugins/faultcodes/trouble_code.h"
#include "runtime/module_context.h"

namespace corvan::kwpfaults {

inline constexpr size_t kMaxRecords = 60;

std::vector<faultcodes::TroubleCode> readStoredCodes(const ModuleContext& ctx,
                                                     std::string_view text, int start,
                                                     std::string_view definitions);

}  // namespace corvan::kwpfaults
