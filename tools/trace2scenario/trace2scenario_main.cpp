// corvan-trace2scenario: turns a wire trace into a simulator scenario of table ECUs, so a
// session recorded on a vehicle replays in the simulated box. The scenario is checked by
// playing the trace into it before it is written: a scenario that would answer otherwise
// than the vehicle did is not written (unless asked), and says where it differs.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

#include "platform/command_line_exit.h"
#include "platform/file_io.h"
#include "tools/trace2scenario/replay.h"
#include "tools/trace2scenario/scenario_builder.h"
#include "tools/trace2scenario/trace_reader.h"

namespace {

// Exit statuses (also in --help).
constexpr int kBadTrace = 2, kCannotWrite = 3, kDiffers = 4;

void say(const std::string& what) {
    std::fprintf(stderr, "corvan-trace2scenario: %s\n", what.c_str());
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Turns a wire trace (ecor-run/eCor --trace) into a simulator scenario"};
    app.footer(
        "Exit status: 0 written (and replaying the trace as recorded), 1 bad options,\n"
        "2 the trace cannot be read or is malformed, 3 the scenario cannot be written,\n"
        "4 the scenario would not replay the trace as recorded (nothing written unless\n"
        "--allow-differences).");
    std::string tracePath, outPath, comment;
    bool allowDifferences = false;
    app.add_option("trace", tracePath, "Wire trace file; - reads standard input")->required();
    app.add_option("-o,--output", outPath, "Scenario file to write (default: standard output)");
    app.add_option("--comment", comment, "The scenario's comment (default: names the trace)");
    app.add_flag("--allow-differences", allowDifferences,
                 "Write the scenario even when it does not replay the trace as recorded");
    if (const int status = corvan::parseCommandLine(app, argc, argv); status >= 0) return status;

    std::string text;
    if (tracePath == "-") {
        std::ostringstream s;
        s << std::cin.rdbuf();
        text = s.str();
    } else {
        std::ifstream in(tracePath, std::ios::binary);
        if (!in) {
            say("cannot read the trace " + tracePath);
            return kBadTrace;
        }
        std::ostringstream s;
        s << in.rdbuf();
        text = s.str();
    }
    const std::string name = tracePath == "-" ? "the trace" : tracePath;
    const corvan::trace::ParsedTrace parsed = corvan::trace::parseTrace(text);
    if (!parsed.ok()) {
        say(name + ": " + parsed.error);
        return kBadTrace;
    }
    const corvan::trace::Exchanges exchanges = corvan::trace::groupExchanges(parsed.lines);
    if (comment.empty()) comment = "Replays the session recorded in " + name + ".";
    corvan::trace::BuiltScenario built = corvan::trace::buildScenario(exchanges, comment);
    if (!built.ok()) {
        say(name + ": " + built.error);
        return kBadTrace;
    }
    for (const std::string& n : built.notes) say("note: " + n);

    const std::string json = corvan::trace::scenarioText(built.scenario);
    const corvan::trace::ReplayCheck check = corvan::trace::checkScenario(json, exchanges);
    for (const std::string& d : check.differences) say("differs: " + d);
    if (!check.ok() && !allowDifferences) {
        say("the scenario would not replay the trace as recorded; nothing written "
            "(--allow-differences writes it anyway)");
        return kDiffers;
    }
    if (check.ok())
        say("the replay gives all " + std::to_string(check.framesCompared) +
            " frames back as recorded; " +
            (check.timesDiffering == 0
                 ? std::string("every reply at its recorded time")
                 : std::to_string(check.timesDiffering) + " at another time"));
    if (outPath.empty()) {
        std::fwrite(json.data(), 1, json.size(), stdout);
        return 0;
    }
    if (!corvan::writeFileAtomic(outPath, json)) {
        say("cannot write " + outPath);
        return kCannotWrite;
    }
    return 0;
}
