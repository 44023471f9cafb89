#include "engine/command_line.h"

namespace corvan::engine {

namespace {

constexpr std::string_view kLoadDriver = " /EXE /LOADDRIVER";
constexpr std::string_view kExe = " /EXE";
constexpr std::string_view kDemo = " /DEMO=";

bool fail(std::string* error, std::string message) {
    if (error) *error = std::move(message);
    return false;
}

// Finds the mode part at the end: its start in `line`, the mode word and the demo value.
bool findMode(std::string_view line, size_t from, EngineCommand& c, size_t& modeStart) {
    if (line.ends_with(kLoadDriver)) {
        modeStart = line.size() - kLoadDriver.size();
        c.mode = "EXE@";
    } else if (line.ends_with(kExe)) {
        modeStart = line.size() - kExe.size();
        c.mode = "EXE";
    } else {
        modeStart = line.rfind(kDemo);
        if (modeStart == std::string_view::npos || modeStart < from) return false;
        c.mode = "DEMO";
        c.demoValue = std::string(line.substr(modeStart + kDemo.size()));
    }
    return modeStart >= from;
}

}  // namespace

std::optional<EngineCommand> parseEngineCommand(std::string_view line, std::string* error) {
    if (line.empty() || line.front() != '/') {
        fail(error, "the command line must start with \"/\" and the data record");
        return std::nullopt;
    }
    const size_t separator = line.find(" /");
    if (separator == std::string_view::npos) {
        fail(error, "the command line has no \" /\" after the data record");
        return std::nullopt;
    }
    EngineCommand c;
    c.record = std::string(line.substr(1, separator - 1));
    size_t modeStart = 0;
    if (!findMode(line, separator, c, modeStart)) {
        fail(error, "the command line must end in \" /EXE\", \" /EXE /LOADDRIVER\" or \" /DEMO=\"");
        return std::nullopt;
    }
    // With no selection at all the record's " /" is the mode's own.
    if (modeStart > separator)
        c.selection = std::string(line.substr(separator + 2, modeStart - separator - 2));
    return c;
}

std::string joinArguments(const std::vector<std::string>& args) {
    std::string line;
    for (size_t i = 0; i < args.size(); ++i) {
        if (i) line += ' ';
        line += args[i];
    }
    return line;
}

}  // namespace corvan::engine
