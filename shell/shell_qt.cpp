// The shell in Qt windows.
#include <cstdio>
#include <fstream>

#include "platform/clock.h"
#include "platform/device_root.h"
#include "shell/shell_app.h"
#include "shell/shell_host.h"
#include "shell/shell_run.h"
#include "ui/qt/qt_front_end.h"

namespace corvan::shell {

bool qtBuilt() {
    return true;
}

bool qtDisplayAvailable() {
    return ui::qt::displayAvailable();
}

int runWithQt(int& argc, char** argv, ShellHost& host, const RunOptions& options) {
    ui::qt::QtFrontEndOptions qt;
    qt.screenshotDir = options.screenshots;
    qt.scale = options.scale;
    qt.offscreen = !ui::qt::displayAvailable();
    qt.script = options.script;
    const DeviceRoot* root = host.root;
    qt.bitmapFile = [root](const std::string& devicePath) { return root->toHost(devicePath); };
    ui::qt::QtFrontEnd front(argc, argv, std::move(qt));

    std::ofstream dump;
    if (front.script() && !options.screens.empty()) {
        dump.open(options.screens, std::ios::binary);
        if (dump) front.script()->twins().setDumpStream(dump);
    }
    RealClock clock;
    host.screen = &front.screen();
    host.clock = &clock;
    {
        ShellApp shell(host);
        shell.run();
    }
    if (front.script()) {
        const ui::RunReport report = front.script()->twins().report();
        if (!report.clean())
            std::fprintf(stderr, "eCorvanData: technician script:\n%s", report.text().c_str());
    }
    return 0;
}

}  // namespace corvan::shell
