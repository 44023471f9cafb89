#include "plugins/vaglogin/login_module.h"

#include "plugins/vagkline/block_dialogue.h"
#include "plugins/vagkline/workshop_settings.h"
#include "plugins/vaglogin/vaglogin_texts.h"
#include "runtime/journalled_write.h"
#include "runtime/module_dialog.h"
#include "ui/dialog_template.h"

namespace corvan::vaglogin {

namespace {

constexpr std::string_view kOkCommand = "OK";

using ui::makeControl;

}  // namespace

ui::DialogTemplate loginTemplate() {
    ui::DialogTemplate t;
    t.name = "VAGLOGIN";
    t.rect = {0, 0, 320, 240};
    ui::ControlSpec info = makeControl(kInfoId, ui::ControlKind::Label, {8, 10, 304, 60});
    info.multiLine = true;
    ui::ControlSpec code = makeControl(kCodeId, ui::ControlKind::Edit, {170, 86, 90, 26}, "0");
    code.digitsOnly = true;
    code.maxLength = 5;
    t.controls = {
        info,
        makeControl(kCodeLabelId, ui::ControlKind::Label, {20, 90, 146, 20}),
        code,
        makeControl(kOkId, ui::ControlKind::Button, {20, 140, 130, 34}, "OK"),
        makeControl(kCancelId, ui::ControlKind::Button, {170, 140, 130, 34}, "Cancel"),
        makeControl(kExitId, ui::ControlKind::Button, {95, 196, 130, 34}, "Exit"),
    };
    t.exitControl = kExitId;
    return t;
}

std::string runLogin(ModuleContext& ctx, const PluginCall& call) {
    if (ctx.isDemo()) {
        ctx.messageBox(ctx.pick(kDemoRefused));
        return {};
    }
    // Without a window nobody can type a code: nothing is sent.
    if (!ctx.showsDialog()) return "KO";
    ModuleDialog window(ctx, loginTemplate(), ctx.pick(kTitlePrefix), call.name);
    ui::Dialog& d = window.dialog();
    d.setText(kInfoId, ctx.pick(kReadingText));
    d.setText(kCodeLabelId, ctx.pick(kCodeLabel));
    d.setText(kOkId, ctx.pick(kOkText));
    d.setText(kCancelId, ctx.pick(kCancelText));
    d.setText(kExitId, ctx.pick(kExitText));
    for (int c : {kCodeId, kOkId, kCancelId}) d.setEnabled(c, false);
    window.bindButton(kOkId, std::string(kOkCommand));
    window.bindButton(kCancelId, std::string(kExitCommand));
    ctx.pumpMessages();

    vagkline::BlockDialogue unit(ctx, RetryPrompt::Multilingual, [&ctx] { ctx.pumpMessages(); });
    const auto unitData =
        unit.readIdentification(vagkline::identificationRequest(call.text)).codingData();
    const uint16_t workshopCode = vagkline::workshopCodeToSend(
        unitData ? std::optional<uint16_t>(unitData->workshopCode) : std::nullopt,
        vagkline::readWorkshopSettings(ctx).code);

    d.setText(kInfoId, ctx.pick(kLockWarning));
    d.setText(kCodeId, "0");
    for (int c : {kCodeId, kOkId, kCancelId}) d.setEnabled(c, true);

    std::string result = "KO";
    window.run([&](const std::string& word) {
        if (word != kOkCommand) return true;
        // The unit takes 16 bits; a longer number is sent as its low 16 bits.
        const auto code = static_cast<uint16_t>(vagkline::typedNumber(d.text(kCodeId)) & 0xFFFF);
        const auto request = vagkline::loginRequest(code, workshopCode);
        // A wrong code counts against the unit's lock-out: every attempt is journalled.
        JournalledWrite journalled(ctx, call, "login", "", std::to_string(code), request);
        const int length = unit.send(request);
        const bool accepted = vagkline::blockTitle(unit.reply()) == vagkline::kTitleAcknowledge;
        journalled.reply(unit.reply(), length, accepted);
        if (accepted) {
            ctx.messageBox(ctx.pick(kAccepted));
            result = "OK";
            window.setCommand(std::string(kExitCommand));
        } else {
            ctx.messageBox(ctx.pick(kRefused));
        }
        return true;
    });
    return result;
}

}  // namespace corvan::vaglogin
