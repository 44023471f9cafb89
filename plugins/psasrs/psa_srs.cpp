#include "plugins/psasrs/psa_srs.h"

#include <array>

#include "plugins/codingcommon/airbag_data.h"
#include "plugins/codingcommon/dialog_controls.h"
#include "plugins/psasrs/psa_coding_request.h"
#include "plugins/psasrs/psa_srs_texts.h"
#include "runtime/exchange.h"
#include "runtime/journal_record.h"
#include "runtime/journalled_write.h"
#include "runtime/module_dialog.h"

namespace corvan::psasrs {

namespace {

constexpr std::string_view kCodeCommand = "OK";
constexpr std::array<int, 3> kChoices = {kDriverOnlyId, kDriverPassengerId, kDriverPassengerKeyId};

int exchange(const ModuleContext& ctx, const std::vector<uint8_t>& request,
             std::span<uint8_t> reply) {
    return Exchange(ctx, request, reply, 4, 0.0, 1.0, RetryPrompt::Fixed);
}

// Whether the unit says it is coded. In demonstration it never is. Without a status
// request in the data nothing is sent and the status byte reads 0, as after a missing
// reply; a bit the status byte does not have counts as coded, so nothing is coded blindly.
// `status` gets the status byte read, what the journal keeps as the unit's state before.
bool alreadyCoded(const ModuleContext& ctx, const coding::AirbagData& data, std::string& status) {
    if (ctx.isDemo()) return false;
    const auto mask = coding::statusMask(data.bit);
    if (!mask) return true;
    std::array<uint8_t, 256> reply{};
    if (const auto request = coding::airbagRequest(data.inf); !request.empty())
        if (exchange(ctx, request, reply) > 0)
            status = "status byte " + spacedHex({coding::statusByte(reply, data.pos)});
    return coding::maskSet(coding::statusByte(reply, data.pos), *mask);
}

int chosen(const ui::Dialog& d) {
    for (size_t i = 0; i < kChoices.size(); ++i)
        if (d.isChecked(kChoices[i])) return int(i);
    return 0;
}

}  // namespace

ui::DialogTemplate psaSrsTemplate() {
    ui::DialogTemplate t;
    t.name = "PSASRS";
    t.rect = {0, 0, 320, 240};
    t.controls = {ui::makeControl(kChooseLabelId, ui::ControlKind::Label, {12, 12, 296, 20})};
    for (size_t i = 0; i < kChoices.size(); ++i) {
        ui::ControlSpec radio =
            ui::makeControl(kChoices[i], ui::ControlKind::Radio, {20, 40 + 36 * int(i), 288, 30});
        radio.group = 1;
        t.controls.push_back(radio);
    }
    t.controls.push_back(ui::makeControl(kCodeId, ui::ControlKind::Button, {80, 168, 160, 40}));
    return t;
}

std::string runPsaSrs(ModuleContext& ctx, const PluginCall& call) {
    if (!ctx.showsDialog()) return {};
    std::string status;
    if (alreadyCoded(ctx, coding::readAirbagData(call.text, call.start), status)) {
        ctx.messageBox(ctx.pick(kAlreadyCoded));
        return {};
    }
    ModuleDialog dialog(ctx, psaSrsTemplate(), ctx.pick(kTitle), "");
    ui::Dialog& d = dialog.dialog();
    d.setText(kChooseLabelId, ctx.pick(kChooseLabel));
    d.setText(kDriverOnlyId, ctx.pick(kDriverOnly));
    d.setText(kDriverPassengerId, ctx.pick(kDriverPassenger));
    d.setText(kDriverPassengerKeyId, ctx.pick(kDriverPassengerKey));
    d.setText(kCodeId, ctx.pick(kCodeButton));
    d.setChecked(kDriverOnlyId, true);
    d.setEnabled(kCodeId, !ctx.isDemo());
    dialog.bindButton(kCodeId, std::string(kCodeCommand));
    std::array<uint8_t, 256> reply{};
    dialog.run([&](const std::string& word) {
        if (word != kCodeCommand || ctx.isDemo()) return true;
        dialog.setCommand(std::string(kExitCommand));
        const uint8_t configuration = configurationByte(chosen(d));
        const auto request = codingRequest(configuration);
        JournalledWrite journalled(ctx, call, "airbag", status,
                                   "configuration byte " + spacedHex({configuration}), request);
        const int got = exchange(ctx, request, reply);
        journalled.reply(reply, got, got > 0);
        // What the unit answers is not looked at: the technician checks the coding by reading
        // it. Without any answer the coding is not reported as done.
        ctx.messageBox(ctx.pick(got > 0 ? kCodingDone : kCodingUnconfirmed));
        return true;
    });
    return {};
}

}  // namespace corvan::psasrs
