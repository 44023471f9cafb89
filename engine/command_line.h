#pragma once
// The command line the shell starts the engine with:
//
//     "/" record " /" brand " " model " " system " " variant " /EXE"
//     "/" record " /" brand " " model " " system " " variant " /EXE /LOADDRIVER"
//     "/" record " /" brand " " model " " system " " variant " /DEMO=" value
//
// The names are inserted as they are, blanks included, without quoting. The record is the
// text between the first "/" and the first " /"; the mode is the last part; what lies
// between them is the selection, shown by the function menu as the function name.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvan::engine {

// The simulation value the shell puts after " /DEMO=".
inline constexpr std::string_view kDemoValue = "1";

struct EngineCommand {
    std::string record;     // data record file name in the installation's FICHAS folder
    std::string selection;  // brand, model, system and variant as the shell joined them
    std::string mode;       // the function menu's mode word: "EXE", "EXE@" or "DEMO"
    std::string demoValue;  // what followed " /DEMO=" (demonstration mode only)
};

// nullopt with `error` set when the text is not such a command line.
std::optional<EngineCommand> parseEngineCommand(std::string_view line, std::string* error);

// The shell passes the command line as one argument; a command shell splits it at the
// blanks. Both come back to the same text when joined with single blanks.
std::string joinArguments(const std::vector<std::string>& args);

}  // namespace corvan::engine
