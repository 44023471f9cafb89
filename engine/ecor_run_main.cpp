// ecor-run: runs one plug-in, as the engine would call it, and prints its result text;
// headless unless a display is there and the run is not scripted, or --qt asks for the
// window. The tool for tests, scripting and support:
//
//     ecor-run IDENTIFY.DLL --text record.txt --start-at "<MNU" --mode REPORT
//
// PLUGIN is a file name as the data write it (found in the installation's DLL folder) or
// the path of a library. Exit statuses: see kFooter. Unlike eCor, a "DEMO" run opens its
// line too, so that its wire trace shows that nothing was sent.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <iterator>

#include "engine/engine_host.h"
#include "engine/front_end.h"
#include "engine/host_options.h"
#include "engine/install_config.h"
#include "engine/line_messages.h"
#include "engine/plugin_call.h"
#include "engine/session_offer.h"
#include "engine/session_report.h"
#include "platform/command_line_exit.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"
#include "runtime/journal_file.h"
#include "runtime/param_text.h"

namespace {

using namespace corvan::engine;

constexpr const char* kFooter =
    "Exit status:\n"
    "  0  the plug-in ran (its result text on standard output)\n"
    "  1  bad options or technician script\n"
    "  2  the plug-in or the parameter text cannot be had\n"
    "  3  the line or a file of the run (the session report too) cannot be opened\n"
    "  5  the line to the box was lost during the run\n";

int failWith(int status, const std::string& message) {
    std::fprintf(stderr, "ecor-run: %s\n", message.c_str());
    return status;
}

// The parameter text: a Windows-1252 file, "-" for standard input, nothing for none.
std::optional<std::string> readText(const std::string& source) {
    if (source.empty()) return std::string();
    std::optional<std::string> bytes;
    if (source == "-")
        bytes = std::string(std::istreambuf_iterator<char>(std::cin), {});
    else
        bytes = corvan::readWholeFile(source);
    if (!bytes) return std::nullopt;
    return corvan::cp1252ToUtf8(*bytes);
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Runs one plug-in and prints its result text"};
    HostOptions options;
    std::string plugin, textFile, startAt, mode = "EXE", name;
    int start = 0, language = 1;
    app.add_option("PLUGIN", plugin, "Plug-in file name (IDENTIFY.DLL) or library path")
        ->required();
    addHostOptions(app, options);
    app.add_option("--text", textFile, "Parameter text file (Windows-1252); - for standard input");
    auto* startOption = app.add_option("--start", start, "Start position in the text");
    app.add_option("--start-at", startAt, "Start at the first occurrence of this text")
        ->excludes(startOption);
    app.add_option("--mode", mode, "Mode word (EXE, DEMO, REPORT, ...)");
    app.add_option("--lang", language,
                   "Language index (0 Spanish, 1 English, 2 German, 5 Portuguese)");
    app.add_option("--name", name, "Function name (dialog titles, reports)");
    std::string journalVehicle;
    app.add_option("--journal", journalVehicle,
                   "Keep the writes to the vehicle in the installation's journal of VEHICLE "
                   "(the data record and the selection, as eCor names it)");
    std::filesystem::path sessionReport;
    app.add_option("--session-report", sessionReport,
                   "Write the session report to FILE (.html or .pdf) when the plug-in returns");
    FrontEndOptions frontOptions;
    addFrontEndOptions(app, frontOptions);
    app.footer(kFooter);
    if (const int status = corvan::parseCommandLine(app, argc, argv); status >= 0) return status;

    std::string error;
    const corvan::DeviceRoot root(options.root);
    auto config = readInstallConfig(root, &error);
    if (!config) {
        // Without iCor.cfg the plug-ins find no installation either; they say so themselves.
        std::fprintf(stderr, "ecor-run: warning: %s\n", error.c_str());
        config = InstallConfig{"STORAGE CARD\\CORVANDATA", "", "", 0, ""};
    }
    const auto text = readText(textFile);
    if (!text) return failWith(2, "cannot read the parameter text " + textFile);
    if (!startAt.empty()) {
        start = corvan::findFrom(*text, startAt);
        if (start < 0) return failWith(1, "\"" + startAt + "\" does not occur in the text");
    }
    if (!checkTechnicianScript(options.technician, &error)) return failWith(1, error);
    if (!sessionReport.empty() && !reportFormatOf(sessionReport))
        return failWith(
            1, "--session-report names a .html or .pdf file, not " + sessionReport.string());
    auto setup = hostSetup(options, *config, false, &error);
    if (!setup) return failWith(3, error);
    const bool scripted = !options.technician.empty() || !options.screens.empty();
    std::unique_ptr<FrontEnd> front;
    if (!openFrontEnd(argc, argv, frontOptions, scripted, options, root, *setup, front, &error))
        return failWith(1, error);
    std::optional<corvan::JournalFile> journal;  // outlives the host that lends it
    auto host = EngineHost::create(std::move(*setup), &error);
    if (!host) return failWith(3, error);
    if (!host->lineError().empty()) {
        tellCannotOpenPort(*host, language);
        host->finish();
        return failWith(3, host->lineError());
    }

    if (!journalVehicle.empty() && mode != "DEMO") {
        journal.emplace(root, host->clock(), config->installPath, journalVehicle);
        host->services().journal = &*journal;
    }
    std::optional<SessionRecord> session;
    if (!sessionReport.empty()) {
        // The vehicle is the one the function name names; the record is the text's file.
        const std::string record = std::filesystem::path(textFile).filename().string();
        session.emplace(host->clock(), SessionVehicle{record, name, mode == "DEMO"});
        attachSessionRecord(*host, *session, true);
    }
    const PluginOutcome outcome =
        callPluginNamed(*host, plugin, corvan::PluginCall{*text, start, mode, name}, language);
    const bool lost = host->lineLost();
    if (lost) tellLineLost(*host, language);
    const std::string report = host->finish();
    if (!report.empty()) std::fprintf(stderr, "ecor-run: technician script:\n%s\n", report.c_str());
    if (!outcome.ran) return failWith(2, outcome.error);
    std::printf("%s\n", outcome.result.c_str());
    if (session) {
        std::string why;
        if (!writeSessionReport(sessionReport,
                                sessionReportText(*host, *session, *config, language), &why))
            return failWith(3, why);
    }
    if (lost) return failWith(5, "the line to the box was lost (" + host->portName() + ")");
    return 0;
}
