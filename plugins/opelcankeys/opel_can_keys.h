#pragma once
// Erasing and teaching ignition keys on the Opel immobilizer on CAN. Every operation first
// unlocks the immobilizer with the PIN the technician types; an erase asks first and leaves
// the dialog open so keys can be taught next; teaching guides the technician key by key.
#include <string>

#include "runtime/module_context.h"
#include "ui/dialog_template.h"

namespace corvan::opelcankeys {

inline constexpr int kKeysLabelId = 1000;
inline constexpr int kKeysId = 1001;
inline constexpr int kPinLabelId = 1002;
inline constexpr int kPinId = 1003;
inline constexpr int kEraseId = 1004;
inline constexpr int kCodeId = 1005;
inline constexpr int kExitId = 1006;
// The progress window.
inline constexpr int kWaitId = 1001;

ui::DialogTemplate opelKeysTemplate();
ui::DialogTemplate opelProgressTemplate();

// Empty result text; returns at once in modes other than "EXE" and "DEMO".
std::string runOpelCanKeys(ModuleContext& ctx, const PluginCall& call);

}  // namespace corvan::opelcankeys
