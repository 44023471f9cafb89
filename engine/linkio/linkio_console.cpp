#include "engine/linkio/linkio_console.h"

#include <vector>

#include "engine/linkio/console_text.h"
#include "runtime/commands.h"
#include "runtime/exchange.h"
#include "runtime/module_dialog.h"

namespace corvan::linkio {

namespace {

constexpr std::string_view kSendWord = "SEND";
// A reply longer than this is not an ECU message; the runtime throws it away.
constexpr size_t kReplyCapacity = 4096;

ui::ControlSpec control(int id, ui::ControlKind kind, std::string text, ui::Rect rect) {
    ui::ControlSpec c;
    c.id = id;
    c.kind = kind;
    c.text = std::move(text);
    c.rect = rect;
    return c;
}

ui::DialogTemplate consoleLayout(const ModuleContext& ctx) {
    ui::DialogTemplate t;
    t.name = "LINKIO";
    t.exitControl = kExitButton;
    ui::ControlSpec edit = control(kMessageEdit, ui::ControlKind::Edit, "", {4, 4, 236, 22});
    edit.upperCase = true;
    edit.maxLength = int(kMaxMessageBytes * 3);  // room for a blank after every byte
    t.controls.push_back(edit);
    t.controls.push_back(
        control(kSendButton, ui::ControlKind::Button, ctx.pick(kSendText), {244, 4, 72, 22}));
    t.controls.push_back(control(kExchangeList, ui::ControlKind::ListView, "", {4, 30, 312, 176}));
    t.controls.push_back(
        control(kExitButton, ui::ControlKind::Button, ctx.pick(kExitText), {244, 212, 72, 24}));
    return t;
}

// One message to the ECU; the reply as the list shows it.
std::string exchange(const ModuleContext& ctx, const std::vector<uint8_t>& message) {
    if (ctx.isDemo()) return ctx.pick(kDemoText);
    std::vector<uint8_t> reply(kReplyCapacity);
    const int length = Exchange(ctx, cmd::ecuRequest(message), reply, 4, 0.0, 1.0);
    // The box says 0x0A when the ECU kept silent.
    if (length == 0 || cmd::replyCommand(reply, length) == cmd::kReplyNoEcuAnswer)
        return ctx.pick(kNoAnswerText);
    const auto answer = cmd::ecuAnswer(reply, length);
    return answer.empty() ? ctx.pick(kNoAnswerText) : spacedHex(answer);
}

}  // namespace

std::string runConsole(ModuleContext& ctx, const PluginCall& call) {
    if (!ctx.showsDialog()) return {};
    ModuleDialog console(ctx, consoleLayout(ctx), ctx.pick(kTitlePrefix), call.name);
    ui::Dialog& d = console.dialog();
    d.setColumns(kExchangeList, {{ctx.pick(kSentHeading), 120}, {ctx.pick(kReplyHeading), 188}});
    console.bindButton(kSendButton, std::string(kSendWord));
    console.run(
        [&](const std::string& word) {
            if (word != kSendWord) return true;
            const auto message = parseTypedBytes(d.text(kMessageEdit));
            if (!message) {
                ctx.messageBox(ctx.pick(kBadInputText), ui::Buttons::Ok, ui::Icon::Warning);
                return true;
            }
            const int row = d.addRow(kExchangeList, {spacedHex(*message), ""});
            d.setCell(kExchangeList, row, 1, exchange(ctx, *message));
            d.selectRow(kExchangeList, row);
            return true;
        },
        // The loop waits for the technician without holding the processor.
        [&] { ctx.clock().sleepMs(1); });
    return {};
}

}  // namespace corvan::linkio
