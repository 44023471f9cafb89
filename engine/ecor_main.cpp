// eCor: the diagnostic engine. Started by the shell with the command line
//
//     "/" record " /" brand " " model " " system " " variant " /EXE" [" /LOADDRIVER"]
//     "/" record " /" brand " " model " " system " " variant " /DEMO=1"
//
// (one argument, or several that are joined with single blanks), optionally preceded by
// options of ours (see docs/engine.md). It reads iCor.cfg, opens the Varbox line, turns the
// data record into the parameter text and calls the function menu with it.
//
// Exit status: 0 the function menu ran; 1 bad command line; 2 the installation lacks
// something (iCor.cfg, the record, a plug-in); 3 the line or a file of the run cannot be
// opened; 4 the box or the ECU was not ready (configuration "ERROR").
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <vector>

#include "engine/command_line.h"
#include "engine/engine_host.h"
#include "engine/engine_session.h"
#include "engine/front_end.h"
#include "engine/host_options.h"
#include "engine/install_config.h"
#include "engine/report_run.h"

namespace {

using namespace corvan::engine;

int failWith(int status, const std::string& message) {
    std::fprintf(stderr, "eCor: %s\n", message.c_str());
    return status;
}

void noteScriptReport(EngineHost& host) {
    const std::string report = host.finish();
    if (!report.empty()) std::fprintf(stderr, "eCor: technician script:\n%s\n", report.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"The diagnostic engine: runs the function menu of one ECU"};
    HostOptions options;
    FrontEndOptions frontOptions;
    bool report = false;
    addHostOptions(app, options);
    addFrontEndOptions(app, frontOptions);
    app.add_flag("--report", report, "Report mode: print the ECU's report and end");
    // Everything from the first word that is not an option on is the shell's command line.
    app.prefix_command();
    CLI11_PARSE(app, argc, argv);

    std::string error;
    const std::string line = joinArguments(app.remaining());
    const auto command = parseEngineCommand(line, &error);
    if (!command) return failWith(1, error + " (got \"" + line + "\")");

    const corvan::DeviceRoot root(options.root);
    const auto config = readInstallConfig(root, &error);
    if (!config) return failWith(2, error);
    const auto text = readDataRecord(root, config->installPath, command->record, &error);
    if (!text) return failWith(2, error);
    auto setup = hostSetup(options, *config, &error);
    if (!setup) return failWith(3, error);

    // A window when a display is there, unless the run is scripted or a report; --qt always.
    const bool scripted = !options.technician.empty() || !options.screens.empty();
    std::unique_ptr<FrontEnd> front;
    if (!openFrontEnd(argc, argv, frontOptions, report || scripted, options, root, *setup, front,
                      &error))
        return failWith(1, error);

    auto host = EngineHost::create(std::move(*setup), &error);
    if (!host) return failWith(3, error);

    const int language = config->languageIndex;
    if (report) {
        const ReportOutcome outcome = runReport(*host, *text, command->selection, language);
        if (!outcome.notes.empty()) std::fprintf(stderr, "%s", outcome.notes.c_str());
        if (!outcome.report.empty()) std::printf("%s\n", outcome.report.c_str());
        noteScriptReport(*host);
        return outcome.ok ? 0 : failWith(4, outcome.error);
    }

    const PluginOutcome outcome =
        runFunctionMenu(*host, *text, command->mode, command->selection, language);
    noteScriptReport(*host);
    if (!outcome.ran) return failWith(2, outcome.error);
    std::printf("%s\n", outcome.result.c_str());
    return outcome.result == "ERROR" ? 4 : 0;
}
