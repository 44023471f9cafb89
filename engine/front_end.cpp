#include "engine/front_end.h"

#ifdef CORVAN_WITH_QT
#include "engine/qt_parts.h"
#include "platform/file_io.h"
#include "ui/display.h"
#include "ui/technician_script.h"
#endif

namespace corvan::engine {

void addFrontEndOptions(CLI::App& app, FrontEndOptions& options) {
    app.add_flag("--headless", options.headless, "No window: the headless screen");
    app.add_flag("--qt", options.qt, "The Qt window (offscreen when no display is found)");
    app.add_option("--scale", options.scale,
                   "Qt: device pixels x N (0: automatic, larger on a desktop screen)")
        ->check(CLI::Range(0, 8));
    app.add_option("--screenshots", options.screenshots,
                   "Qt: a picture of every screen in this folder");
}

#ifdef CORVAN_WITH_QT
namespace {
// Qt keeps a reference to the argument count and reads the arguments again when it opens
// its first window on a real display (X11 reads the program name there): the count lives
// here, as long as the application.
class QtFront final : public FrontEnd {
  public:
    explicit QtFront(int count) : argc(count) {}
    int argc;
    std::unique_ptr<QtWindow> window;
};
}  // namespace

bool openFrontEnd(int argc, char** argv, const FrontEndOptions& options, bool unattended,
                  const HostOptions& host, const DeviceRoot& root, HostSetup& setup,
                  std::unique_ptr<FrontEnd>& front, std::string* error) {
    if (options.headless && options.qt) {
        *error = "--headless and --qt exclude each other";
        return false;
    }
    const bool display = ui::displayAvailable();
    if (options.headless || !(options.qt || (!unattended && display))) return true;
    QtWindowOptions qtOptions;
    qtOptions.offscreen = !display;
    qtOptions.scale = options.scale;
    qtOptions.screenshotDir = options.screenshots;
    qtOptions.bitmapFile = [root](const std::string& path) { return root.toHost(path); };
    if (!host.technician.empty()) {
        const auto script = readWholeFile(host.technician);
        if (!script) {
            *error = "cannot read " + host.technician.string();
            return false;
        }
        auto parsed = ui::parseTechnicianScript(*script);
        if (!parsed.ok()) {
            *error = "technician script " + host.technician.string() + ": " + parsed.error;
            return false;
        }
        qtOptions.script = std::move(parsed.script);
    }
    QtParts* parts = loadQtParts(error);
    if (!parts) return false;
    auto qt = std::make_unique<QtFront>(argc);
    qt->window = parts->openWindow(qt->argc, argv, std::move(qtOptions));
    setup.screen = &qt->window->screen();
    setup.record = qt->window->record();
    front = std::move(qt);
    return true;
}
#else
bool openFrontEnd(int, char**, const FrontEndOptions& options, bool, const HostOptions&,
                  const DeviceRoot&, HostSetup&, std::unique_ptr<FrontEnd>&, std::string* error) {
    if (options.qt) {
        *error = "this build has no Qt front end";
        return false;
    }
    return true;
}
#endif

}  // namespace corvan::engine
