#pragma once
// The login: reads the unit's identification to learn its workshop code, lets the
// technician type the access code and sends it in a login block until the unit takes it
// or the technician leaves. Channel adaptation and the service scripts start it as a
// nested plug-in for the functions a unit keeps locked.
#include <string>

#include "runtime/module_context.h"
#include "ui/dialog_template.h"

namespace corvan::vaglogin {

inline constexpr int kInfoId = 1001;
inline constexpr int kCodeLabelId = 1002;
inline constexpr int kCodeId = 1003;
inline constexpr int kOkId = 1004;
inline constexpr int kCancelId = 1005;
inline constexpr int kExitId = 2;

ui::DialogTemplate loginTemplate();

// "OK" when the unit accepted a code, "KO" otherwise; empty in demonstration mode.
std::string runLogin(ModuleContext& ctx, const PluginCall& call);

}  // namespace corvan::vaglogin
