// eCor: the diagnostic engine. Started by the shell with the command line
//
//     "/" record " /" brand " " model " " system " " variant " /EXE" [" /LOADDRIVER"]
//     "/" record " /" brand " " model " " system " " variant " /DEMO=1"
//
// (one argument, or several that are joined with single blanks), optionally preceded by
// options of ours (see docs/engine.md). It reads iCor.cfg, opens the Varbox line (none in a
// demonstration), turns the data record into the parameter text and calls the function
// menu with it.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "engine/command_line.h"
#include "engine/engine_host.h"
#include "engine/engine_session.h"
#include "engine/front_end.h"
#include "engine/host_options.h"
#include "engine/install_config.h"
#include "engine/line_messages.h"
#include "engine/report_run.h"
#include "engine/session_offer.h"
#include "engine/session_report.h"
#include "platform/command_line_exit.h"
#include "runtime/journal_file.h"

namespace {

using namespace corvan::engine;

// Exit statuses (also in --help and docs/engine.md).
enum Status {
    kRan = 0,
    kBadCommandLine = corvan::kBadCommandLine,  // bad options, command line or script
    kInstallation = 2,                          // iCor.cfg, the record or a plug-in missing
    kNoLine = 3,                                // the line or a file of the run cannot be opened
    kNotReady = 4,  // the box or the ECU was not ready (configuration "ERROR")
    kLineLost = 5,  // the line hung up or failed during the run
};

constexpr const char* kFooter =
    "Command line (as the shell writes it; one argument or several):\n"
    "  /RECORD /BRAND MODEL SYSTEM VARIANT /EXE [/LOADDRIVER]\n"
    "  /RECORD /BRAND MODEL SYSTEM VARIANT /DEMO=1\n"
    "RECORD is a data record in the installation's FICHAS folder.\n"
    "\n"
    "Session report: --session-report FILE writes it (.html or .pdf) when the run ends;\n"
    "SESSION_REPORT=[YES] in iCor.cfg asks the technician at the end of a session, and\n"
    "WORKSHOP=[name] names the workshop on it (docs/session-report.md).\n"
    "\n"
    "Exit status:\n"
    "  0  the function menu (or the report) ran\n"
    "  1  bad options, command line or technician script\n"
    "  2  the installation lacks something (iCor.cfg, the record, a plug-in)\n"
    "  3  the line or a file of the run (the session report too) cannot be opened\n"
    "  4  the box or the ECU was not ready (configuration ERROR)\n"
    "  5  the line to the box was lost during the run\n";

int failWith(int status, const std::string& message) {
    std::fprintf(stderr, "eCor: %s\n", message.c_str());
    return status;
}

void noteScriptReport(EngineHost& host) {
    const std::string report = host.finish();
    if (!report.empty()) std::fprintf(stderr, "eCor: technician script:\n%s\n", report.c_str());
}

// A run that ended on a lost line says so, on the screen and on standard error.
int endOnLostLine(EngineHost& host, int language) {
    tellLineLost(host, language);
    noteScriptReport(host);
    return failWith(kLineLost, "the line to the box was lost (" + host.portName() + ")");
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"The diagnostic engine: runs the function menu of one ECU"};
    HostOptions options;
    FrontEndOptions frontOptions;
    bool report = false;
    std::filesystem::path sessionReport;
    addHostOptions(app, options);
    addFrontEndOptions(app, frontOptions);
    app.add_flag("--report", report, "Report mode: print the ECU's report and end");
    app.add_option("--session-report", sessionReport,
                   "Write the session report to FILE (.html or .pdf) when the run ends");
    app.footer(kFooter);
    // Everything from the first word that is not an option on is the shell's command line.
    app.prefix_command();
    if (const int status = corvan::parseCommandLine(app, argc, argv); status >= 0) return status;

    std::string error;
    const std::vector<std::string> words = app.remaining();
    // The shell's command line begins with "/"; a word with "-" before it is an option
    // this program does not know, not part of the command line.
    if (!words.empty() && words.front().rfind("-", 0) == 0)
        return failWith(kBadCommandLine, "unknown option " + words.front() + " (see --help)");
    const std::string line = joinArguments(words);
    const auto command = parseEngineCommand(line, &error);
    if (!command) return failWith(kBadCommandLine, error + " (got \"" + line + "\")");
    if (!checkTechnicianScript(options.technician, &error)) return failWith(kBadCommandLine, error);
    if (!sessionReport.empty() && !reportFormatOf(sessionReport))
        return failWith(kBadCommandLine, "--session-report names a .html or .pdf file, not " +
                                             sessionReport.string());

    const corvan::DeviceRoot root(options.root);
    const auto config = readInstallConfig(root, &error);
    if (!config) return failWith(kInstallation, error);
    if (!checkInstallPath(root, *config, &error)) return failWith(kInstallation, error);
    std::string note;
    const auto text = readDataRecord(root, config->installPath, command->record, &error, &note);
    if (!text) return failWith(kInstallation, error);
    if (!note.empty()) std::fprintf(stderr, "eCor: warning: %s\n", note.c_str());
    const bool demo = command->mode == "DEMO";
    auto setup = hostSetup(options, *config, demo, &error);
    if (!setup) return failWith(kNoLine, error);

    // A window when a display is there, unless the run is scripted or a report; --qt always.
    const bool scripted = !options.technician.empty() || !options.screens.empty();
    std::unique_ptr<FrontEnd> front;
    if (!openFrontEnd(argc, argv, frontOptions, report || scripted, options, root, *setup, front,
                      &error))
        return failWith(kBadCommandLine, error);

    std::optional<corvan::JournalFile> journal;  // outlives the host that lends it
    auto host = EngineHost::create(std::move(*setup), &error);
    if (!host) return failWith(kNoLine, error);
    const int language = config->languageIndex;
    if (!host->lineError().empty()) {
        tellCannotOpenPort(*host, language);
        noteScriptReport(*host);
        return failWith(kNoLine, host->lineError());
    }

    // Every request that changes this vehicle goes into the installation's journal of it
    // first (a demonstration sends nothing to a car, so it has none).
    if (!demo) {
        journal.emplace(root, host->clock(), config->installPath,
                        command->record + " " + command->selection);
        host->services().journal = &*journal;
    }

    // The session report, when asked for on the command line or offered by iCor.cfg.
    const bool offer = !report && sessionReportOffered(*config);
    std::optional<SessionRecord> session;
    if (offer || !sessionReport.empty()) {
        session.emplace(host->clock(), SessionVehicle{command->record, command->selection, demo});
        attachSessionRecord(*host, *session, !report);
    }
    const auto writeSession = [&]() {
        if (!session || sessionReport.empty()) return true;
        std::string why;
        const bool ok = writeSessionReport(
            sessionReport, sessionReportText(*host, *session, *config, language), &why);
        if (!ok) std::fprintf(stderr, "eCor: %s\n", why.c_str());
        return ok;
    };

    if (report) {
        const ReportOutcome outcome = runReport(*host, *text, command->selection, language, demo);
        if (!outcome.notes.empty()) std::fprintf(stderr, "%s", outcome.notes.c_str());
        if (!outcome.report.empty()) std::printf("%s\n", outcome.report.c_str());
        if (session) session->reportPassReturned(outcome.report);
        if (!writeSession()) return kNoLine;
        if (host->lineLost()) return endOnLostLine(*host, language);
        noteScriptReport(*host);
        return outcome.ok ? kRan : failWith(kNotReady, outcome.error);
    }

    const PluginOutcome outcome =
        runFunctionMenu(*host, *text, command->mode, command->selection, language);
    if (!outcome.ran) {
        noteScriptReport(*host);
        return failWith(kInstallation, outcome.error);
    }
    std::printf("%s\n", outcome.result.c_str());
    if (offer) offerSessionReport(*host, *session, *config, language);
    const bool sessionWritten = writeSession();
    if (host->lineLost()) return endOnLostLine(*host, language);
    noteScriptReport(*host);
    if (!sessionWritten) return kNoLine;
    return outcome.result == "ERROR" ? kNotReady : kRan;
}
