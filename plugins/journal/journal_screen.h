#pragma once
// The journal screen: every write the terminal made to the vehicle, newest first, with
// what the unit held before, what went out and what came back; for a coding or an
// adaptation of the unit at hand, "Restore previous" calls that unit's own module with the
// old value in its fields, to be written through the module's own questions.
#include <string>

#include "runtime/module_context.h"
#include "ui/dialog_template.h"

namespace corvan::journal {

inline constexpr int kListId = 1000;
inline constexpr int kDetailId = 1001;
inline constexpr int kRestoreId = 1002;
inline constexpr int kExitId = 2;

ui::DialogTemplate journalTemplate();

// Always an empty text.
std::string runJournal(ModuleContext& ctx, const PluginCall& call);

}  // namespace corvan::journal
