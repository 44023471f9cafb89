#pragma once
// The service-script interpreter: runs the script that follows "#INTERPRETE" in the
// parameter text, statement by statement, until a statement stops the run or no ";" is
// left, and returns an empty text. Its variables, stack and `FRAME` live in a ScriptState
// that the plug-in keeps for as long as the library stays loaded.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/module_context.h"

namespace corvan::mbservice {

inline constexpr size_t kStackEntries = 99;
// The longest Varbox reply a script keeps; a longer frame counts as no reply.
inline constexpr size_t kReceiveBytes = 1024;

struct ScriptState {
    uint8_t count = 0;               // COUNT, modulo 256
    uint8_t byteRcv = 0;             // cByteRcv: the reply byte GETRCV fetched last
    std::string input;               // csInput: the text typed last
    int32_t choice = 0;              // chosen row of COMBO, or 1/0 for QUESTION's Yes/No
    int compare = 0;                 // CMP: 0 smaller, 1 equal, 2 greater
    int commStatus = 1;              // COMMSTATUS: 1 while the box holds the ECU connection
    std::string frame;               // FRAME: hexadecimal text, two characters per byte
    std::vector<std::string> stack;  // decimal texts, at most kStackEntries
    std::array<uint8_t, kReceiveBytes> received{};  // the last reply of SND, COMMSTATUS, ...
};

struct RunLimits {
    // A script may loop for minutes on purpose; a harness that feeds random scripts bounds
    // the statements of one run instead. 0: no bound.
    long maxStatements = 0;
};

std::string runScript(const ModuleContext& ctx, const PluginCall& call, ScriptState& state,
                      RunLimits limits = {});

}  // namespace corvan::mbservice
