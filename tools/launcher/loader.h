#pragma once
// The start-up loader: a "LOADER" dialog saying "Cargando CORVANDATA ..." while a worker
// thread waits for the shell's program file, starts the shell and asks the dialog to close.
//
//     LoaderHost host{...};
//     runLoader(host);  // returns once the shell was started, or could not be
#include <functional>
#include <string>
#include <vector>

#include "tools/launcher/shell_wait.h"

namespace corvan {
class Clock;
class ProcessStarter;
namespace ui {
class Screen;
}
}  // namespace corvan

namespace corvan::launcher {

inline constexpr const char* kLoadingText = "Cargando CORVANDATA ...";

struct LoaderHost {
    ui::Screen* screen = nullptr;
    Clock* dialogClock = nullptr;  // the dialog thread's rests between pumps
    Clock* workerClock = nullptr;  // the worker's waits between probes; used by it alone
    ProcessStarter* starter = nullptr;
    std::function<ProbeResult()> probe;
    // The shell's host file, asked once the probe found it (the card's spelling then).
    std::function<std::string()> shellProgram;
    std::vector<std::string> shellOptions;  // host options; the shell gets no command line
};

// True when the shell was started. A failed start closes the loader without a message.
bool runLoader(LoaderHost& host);

}  // namespace corvan::launcher
