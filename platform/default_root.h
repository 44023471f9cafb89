#pragma once
// Which device root a program of the terminal works on when no --root is given:
//   1. the folder in the environment variable CORVAN_ROOT;
//   2. for a program run from its build tree, the sample installation of that build;
//   3. the user's own device root, $XDG_DATA_HOME/corvan/root (~/.local/share/corvan/root),
//      when it exists (a copy of the installed one the user may change);
//   4. the device root installed beside the programs, <prefix>/share/corvan/root;
//   5. the sample installation of the build tree the program was built in.
#include <filesystem>

namespace corvan {

std::filesystem::path defaultDeviceRoot();

// The installed device root relative to the programs' folder (<prefix>/lib/corvan).
inline constexpr const char* kInstalledRootFromPrograms = "../../share/corvan/root";

}  // namespace corvan
