#pragma once
// How every program of the terminal ends on its own command line: help asked for prints
// the help and ends with status 0; a bad command line (an unknown option, a missing or bad
// value) prints what is wrong and ends with status 1, whatever the parser's own codes.
//
//     if (const int status = parseCommandLine(app, argc, argv); status >= 0) return status;
#include <CLI/CLI.hpp>

namespace corvan {

inline constexpr int kBadCommandLine = 1;

// -1: parsed, go on; otherwise the exit status.
inline int parseCommandLine(CLI::App& app, int argc, char** argv) {
    try {
        app.parse(argc, argv);
        return -1;
    } catch (const CLI::CallForHelp& e) {
        app.exit(e);
        return 0;
    } catch (const CLI::CallForAllHelp& e) {
        app.exit(e);
        return 0;
    } catch (const CLI::ParseError& e) {
        app.exit(e);
        return kBadCommandLine;
    }
}

}  // namespace corvan
