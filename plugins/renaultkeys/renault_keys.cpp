#include "plugins/renaultkeys/renault_keys.h"

#include <array>
#include <cstdio>

#include "plugins/codingcommon/dialog_controls.h"
#include "plugins/codingcommon/key_entry.h"
#include "plugins/renaultkeys/renault_key_requests.h"
#include "plugins/renaultkeys/renault_keys_texts.h"
#include "runtime/exchange.h"
#include "runtime/journalled_write.h"
#include "runtime/module_dialog.h"

namespace corvan::renaultkeys {

namespace {

constexpr std::string_view kCodeCommand = "CODE";

class RenaultKeys {
  public:
    RenaultKeys(const ModuleContext& ctx, const PluginCall& call) : ctx_(ctx), call_(call) {}

    std::string run() {
        if (!ctx_.showsDialog()) return {};
        ModuleDialog dialog(ctx_, renaultKeysTemplate(), ctx_.pick(coding::kTitlePrefix),
                            call_.name);
        ui::Dialog& d = dialog.dialog();
        d.setText(kPinLabelId, ctx_.pick(kPinLabel));
        d.setText(kKeysLabelId, ctx_.pick(kKeysLabel));
        d.setText(kCodeId, ctx_.pick(kCodeButton));
        d.setText(kKeysId, "1");
        dialog.bindButton(kCodeId, std::string(kCodeCommand));
        const auto refresh = [&d] {
            d.setEnabled(kCodeId, coding::entryComplete(d.text(kPinId), d.text(kKeysId)));
        };
        refresh();
        dialog.run(
            [&](const std::string& word) {
                // The button can only be pressed with a complete entry; a stray word is dropped.
                if (word != kCodeCommand || !coding::entryComplete(d.text(kPinId), d.text(kKeysId)))
                    return true;
                code(d.text(kPinId), coding::numberOfKeys(d.text(kKeysId)));
                dialog.setCommand(std::string(kExitCommand));
                return true;
            },
            refresh);
        return {};
    }

  private:
    void say(const TextTable& text) const { ctx_.messageBox(ctx_.pick(text)); }

    void code(const std::string& pin, int keys) {
        if (ctx_.isDemo()) return say(coding::kNotInDemo);
        say(kPullKeyOut);
        const auto start = learningStartRequest(pin);
        // The PIN goes out in the request's last two bytes.
        JournalledWrite journalled(ctx_, call_, "key", "", std::to_string(keys) + " keys",
                                   secretTail(start, 2));
        const std::string started = replyText(reply_, Exchange(ctx_, start, reply_));
        if (!learningStarted(reply_)) {
            journalled.outcome(started, false);
            return say(kInvalidCode);
        }
        for (int k = 1; k <= keys; ++k) {
            char text[256];
            std::snprintf(text, sizeof text, ctx_.pick(kEnterKey).c_str(), k);
            ctx_.messageBox(text);
            say(kKeyDone);
        }
        const int ended = Exchange(ctx_, learningEndRequest(), reply_);
        journalled.outcome(started + ", end of learning: " + replyText(reply_, ended), true);
    }

    const ModuleContext& ctx_;
    const PluginCall& call_;
    // A request that got no reply leaves this as it was; it starts out cleared, so a silent
    // immobilizer reads as a refused code.
    std::array<uint8_t, 256> reply_{};
};

}  // namespace

ui::DialogTemplate renaultKeysTemplate() {
    ui::DialogTemplate t;
    t.name = "RENAULTKEYS";
    t.rect = {0, 0, 320, 240};
    t.controls = {ui::makeControl(kPinLabelId, ui::ControlKind::Label, {16, 44, 170, 20}),
                  coding::pinField(kPinId, {196, 40, 96, 26}),
                  ui::makeControl(kKeysLabelId, ui::ControlKind::Label, {16, 92, 170, 20}),
                  coding::keysField(kKeysId, {196, 88, 48, 26}),
                  ui::makeControl(kCodeId, ui::ControlKind::Button, {60, 150, 200, 40})};
    return t;
}

std::string runRenaultKeys(ModuleContext& ctx, const PluginCall& call) {
    return RenaultKeys(ctx, call).run();
}

}  // namespace corvan::renaultkeys
