#include "engine/line_messages.h"

#include "engine/engine_host.h"

namespace corvan::engine {

namespace {

// "%s" replaced by the arguments in order; the texts hold no other directive.
std::string fill(std::string text, std::initializer_list<std::string_view> args) {
    size_t from = 0;
    for (std::string_view a : args) {
        const size_t at = text.find("%s", from);
        if (at == std::string::npos) break;
        text.replace(at, 2, a);
        from = at + a.size();
    }
    return text;
}

}  // namespace

std::string cannotOpenPortMessage(const EngineHost& host, int32_t language) {
    // lineError() reads "cannot open the port NAME: REASON"; the box gives the reason alone.
    std::string reason = host.lineError();
    const std::string head = "cannot open the port " + host.portName() + ": ";
    if (reason.rfind(head, 0) == 0) reason.erase(0, head.size());
    return fill(PickText(kCannotOpenPortText, language), {host.portName(), reason});
}

std::string lineLostMessage(const EngineHost& host, int32_t language) {
    return fill(PickText(kLineLostText, language), {host.portName()});
}

void tellCannotOpenPort(EngineHost& host, int32_t language) {
    host.screen().messageBox(cannotOpenPortMessage(host, language), "", ui::Buttons::Ok,
                             ui::Icon::Stop);
}

void tellLineLost(EngineHost& host, int32_t language) {
    host.screen().messageBox(lineLostMessage(host, language), "", ui::Buttons::Ok, ui::Icon::Stop);
}

}  // namespace corvan::engine
