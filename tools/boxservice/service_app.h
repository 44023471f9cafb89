#pragma once
// The box service program's menu: one list of service commands. Each command opens the
// port, does its work and closes the port again, whatever happened.
#include <string_view>

#include "ui/dialog_template.h"

namespace corvan::boxservice {

struct ServiceHost;

inline constexpr int kMenuListId = 100;
inline constexpr int kRunId = 1;
inline constexpr int kLeaveId = 2;

ui::DialogTemplate menuTemplate();

// Runs the command of menu row `row` (0: performance test ... 6: OBD II test).
void runServiceCommand(ServiceHost& host, int row);

// Shows the menu until "Salir" or the close box.
void runServiceMenu(ServiceHost& host);

}  // namespace corvan::boxservice
