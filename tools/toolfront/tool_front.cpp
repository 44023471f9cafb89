#include "tools/toolfront/tool_front.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <fstream>
#include <optional>

#include "platform/clock.h"
#include "platform/device_root.h"
#include "platform/file_io.h"
#include "ui/headless_screen.h"
#include "ui/technician_script.h"

#ifdef CORVAN_WITH_QT
#include "ui/qt/qt_front_end.h"
#endif

namespace corvan::tools {

void addToolScreenOptions(CLI::App& app, ToolScreenOptions& o) {
    app.add_flag("--headless", o.headless, "No window: the headless screen");
    app.add_flag("--qt", o.qt, "Qt windows even without a display (offscreen)");
    app.add_option("--technician", o.technician, "Technician script working the screens");
    app.add_option("--screens", o.screens, "Screen dump of a headless or scripted run");
    app.add_option("--screenshots", o.screenshots, "Qt: a PNG of every screen into this folder");
    app.add_option("--scale", o.scale, "Qt: device pixels x N (0: automatic)")
        ->check(CLI::Range(0, 8));
}

namespace {

void reportScript(const std::string& program, const ui::RunReport& report) {
    if (!report.clean())
        std::fprintf(stderr, "%s: technician script:\n%s", program.c_str(), report.text().c_str());
}

}  // namespace

int runOnScreen(int& argc, char** argv, const std::string& program, const ToolScreenOptions& o,
                const DeviceRoot& root, bool realTime, const ToolBody& body) {
    if (o.headless && o.qt) {
        std::fprintf(stderr, "%s: --headless and --qt exclude each other\n", program.c_str());
        return 2;
    }
    std::optional<ui::TechnicianScript> script;
    if (!o.technician.empty()) {
        const auto text = readWholeFile(o.technician);
        if (!text) {
            std::fprintf(stderr, "%s: cannot read %s\n", program.c_str(), o.technician.c_str());
            return 2;
        }
        auto parsed = ui::parseTechnicianScript(*text);
        if (!parsed.ok()) {
            std::fprintf(stderr, "%s: %s: %s\n", program.c_str(), o.technician.c_str(),
                         parsed.error.c_str());
            return 2;
        }
        script = std::move(parsed.script);
    }
    std::ofstream dump;
    if (!o.screens.empty()) {
        dump.open(o.screens, std::ios::binary);
        if (!dump) {
            std::fprintf(stderr, "%s: cannot write %s\n", program.c_str(), o.screens.c_str());
            return 2;
        }
    }
    const bool scripted = script || !o.screens.empty();

#ifdef CORVAN_WITH_QT
    const bool display = ui::qt::displayAvailable();
    if (!o.headless && (o.qt || (!scripted && display))) {
        ui::qt::QtFrontEndOptions qt;
        qt.scale = o.scale;
        qt.screenshotDir = o.screenshots;
        qt.offscreen = !display;
        qt.script = script;
        qt.bitmapFile = [&root](const std::string& path) { return root.toHost(path); };
        ui::qt::QtFrontEnd front(argc, argv, std::move(qt));
        if (front.script() && dump.is_open()) front.script()->twins().setDumpStream(dump);
        RealClock clock;
        const int status = body(front.screen(), clock);
        if (front.script()) reportScript(program, front.script()->twins().report());
        return status;
    }
#else
    (void)argc, (void)argv, (void)root, (void)scripted;
    if (o.qt) {
        std::fprintf(stderr, "%s: this build has no Qt front end\n", program.c_str());
        return 2;
    }
#endif
    ui::HeadlessScreen screen;
    if (script) screen.setScript(*script);
    if (dump.is_open()) screen.setDumpStream(dump);
    RealClock real;
    VirtualClock virtualClock;
    Clock& clock = realTime ? static_cast<Clock&>(real) : virtualClock;
    const int status = body(screen, clock);
    if (script) reportScript(program, screen.report());
    return status;
}

}  // namespace corvan::tools
