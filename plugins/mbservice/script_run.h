#pragma once
// One run of a service script (inside the interpreter; the statements are split between
// interpreter.cpp, the flow, variables and windows, and varbox_statements.cpp, everything
// that talks to the box or loads a plug-in).
#include <string>
#include <string_view>

#include "plugins/mbservice/interpreter.h"
#include "plugins/mbservice/script_text.h"
#include "plugins/mbservice/script_windows.h"

namespace corvan::mbservice {

// Texts of the interpreter; the terminal shows them in every language as they are.
inline constexpr std::string_view kUnknownCommand = "Unknown command: ";
inline constexpr std::string_view kWrongOutput = "Comando de visualización incorrecto";
inline constexpr std::string_view kNoReply = "No se ha recibido respuesta";
inline constexpr std::string_view kWrongReply =
    "Respuesta incorrecta de la UCE o comunicación perdida";
inline constexpr std::string_view kNoBoxReply = "NO RESPONSE FROM VARBOX";
inline constexpr std::string_view kBadEntry = "BAD ENTRY";
inline constexpr std::string_view kCannotOpen = "Can't open ";
// A request that would not fit its frame is never sent cut short.
inline constexpr std::string_view kTooLong = "Trama demasiado larga para el VarBox: ";
inline constexpr std::string_view kOutsideFrame = "Posición fuera de la trama: ";

enum class Flow { Go, Stop };

class ScriptRun {
  public:
    ScriptRun(const ModuleContext& ctx, const PluginCall& call, ScriptState& state)
        : ctx_(ctx), call_(call), state_(state), window_(ctx) {}
    void run(RunLimits limits);

  private:
    struct Command {
        std::string_view name;
        Flow (ScriptRun::*run)(const Statement&);
        bool skippedInDemo;
    };
    static const Command kCommands[];

    Flow execute(std::string_view statement);
    bool conditionHolds(std::string_view name, const Conditional& c, const Statement& whole) const;
    Flow stopWith(std::string text);
    Flow jumpTo(std::string_view label);

    // interpreter.cpp
    Flow output(const Statement& s);
    Flow input(const Statement& s);
    Flow combo(const Statement& s);
    Flow exit(const Statement& s);
    Flow sleep(const Statement& s);
    Flow showMessage(const Statement& s);
    Flow hideMessage(const Statement& s);
    Flow setFrame(const Statement& s);
    Flow setFramePosition(const Statement& s);
    Flow query(const Statement& s);
    Flow question(const Statement& s);
    Flow label(const Statement& s);
    Flow jump(const Statement& s);
    Flow jumpIfEqual(const Statement& s);
    Flow jumpIfNotEqual(const Statement& s);
    Flow jumpIfGreater(const Statement& s);
    Flow jumpIfLess(const Statement& s);
    Flow compare(const Statement& s);
    Flow move(const Statement& s);
    Flow increment(const Statement& s);
    Flow decrement(const Statement& s);
    Flow add(const Statement& s);
    Flow subtract(const Statement& s);
    Flow bitAnd(const Statement& s);
    Flow bitOr(const Statement& s);
    Flow arithmetic(const Statement& s, int (*op)(int, int));
    Flow progress(const Statement& s);
    Flow enterPin(const Statement& s);
    Flow push(const Statement& s);
    Flow pop(const Statement& s);
    Flow popInto(std::string_view what);
    Flow call(const Statement& s);
    Flow ret(const Statement& s);

    // varbox_statements.cpp
    Flow send(const Statement& s);
    Flow getReceived(const Statement& s);
    Flow maintain(const Statement& s);
    Flow commStatus(const Statement& s);
    Flow logon(const Statement& s);
    Flow logoff(const Statement& s);
    Flow setDelay(const Statement& s);
    Flow runDll(const Statement& s);
    int exchange(std::span<const uint8_t> request, int attempts = 4, double pollFactor = 1.0);
    std::string pluginFolder(std::string_view dllFolder) const;

    const ModuleContext& ctx_;
    const PluginCall& call_;
    ScriptState& state_;
    MessageWindow window_;
    size_t pos_ = 0;
};

}  // namespace corvan::mbservice
