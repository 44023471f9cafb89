#pragma once
// Teaching ignition keys to a Renault immobilizer: the technician types the vehicle's PIN
// and the number of keys, the module starts the key learning with that PIN, guides the
// technician key by key, and closes the learning once.
#include <string>

#include "runtime/module_context.h"
#include "ui/dialog_template.h"

namespace corvan::renaultkeys {

inline constexpr int kPinLabelId = 1000;
inline constexpr int kPinId = 1001;
inline constexpr int kKeysLabelId = 1002;
inline constexpr int kKeysId = 1003;
inline constexpr int kCodeId = 1004;

ui::DialogTemplate renaultKeysTemplate();

// Empty result text. Only the modes "EXE" and "DEMO" show the dialog; in any other mode the
// module returns at once: teaching keys needs the technician.
std::string runRenaultKeys(ModuleContext& ctx, const PluginCall& call);

}  // namespace corvan::renaultkeys
