#include "shell/shell_run.h"

#include <cstdio>
#include <fstream>

#include "platform/clock.h"
#include "platform/device_root.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"
#include "shell/shell_app.h"
#include "shell/shell_host.h"
#include "shell/shell_settings.h"
#include "ui/headless_screen.h"

namespace corvan::shell {

std::string installedVersion(const DeviceRoot& root) {
    const auto bytes = readWholeFile(root.toHost(std::string(kDataFolder) + "Datos\\Version.txt"));
    if (!bytes) return "-";
    std::string text = cp1252ToUtf8(*bytes);
    text = text.substr(0, text.find_first_of("\r\n"));
    return text.empty() ? "-" : text;
}

int runHeadless(ShellHost& host, const RunOptions& options) {
    ui::HeadlessScreen screen;
    if (options.script) screen.setScript(*options.script);
    std::ofstream dump;
    if (!options.screens.empty()) {
        dump.open(options.screens, std::ios::binary);
        if (!dump) {
            std::fprintf(stderr, "eCorvanData: cannot write %s\n", options.screens.c_str());
            return 3;
        }
        screen.setDumpStream(dump);
    }
    // Idle waits pass at once; the engine's run is waited for in real time all the same.
    VirtualClock clock;
    host.screen = &screen;
    host.clock = &clock;
    {
        ShellApp shell(host);
        shell.run();
    }
    const ui::RunReport report = screen.report();
    if (options.script && !report.clean())
        std::fprintf(stderr, "eCorvanData: technician script:\n%s", report.text().c_str());
    return 0;
}

}  // namespace corvan::shell
