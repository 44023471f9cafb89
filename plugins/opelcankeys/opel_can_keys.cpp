#include "plugins/opelcankeys/opel_can_keys.h"

#include <array>
#include <memory>

#include "plugins/codingcommon/dialog_controls.h"
#include "plugins/codingcommon/key_entry.h"
#include "plugins/opelcankeys/opel_key_requests.h"
#include "plugins/opelcankeys/opel_keys_texts.h"
#include "runtime/exchange.h"
#include "runtime/journalled_write.h"
#include "runtime/module_dialog.h"

namespace corvan::opelcankeys {

namespace {

constexpr std::string_view kClearCommand = "CLEAR";
constexpr std::string_view kCodeCommand = "CODE";
// The immobilizer needs these pauses around the stop of its periodic data.
constexpr int64_t kBeforeEraseMs = 1000;
constexpr int64_t kAfterPinMs = 300;
constexpr int64_t kBeforeLearnMs = 700;

class OpelCanKeys {
  public:
    OpelCanKeys(const ModuleContext& ctx, const PluginCall& call) : ctx_(ctx), call_(call) {}

    std::string run() {
        if (!ctx_.showsDialog()) return {};
        ModuleDialog dialog(ctx_, opelKeysTemplate(), ctx_.pick(coding::kTitlePrefix), call_.name);
        ui::Dialog& d = dialog.dialog();
        d.setText(kKeysLabelId, ctx_.pick(kKeysLabel));
        d.setText(kPinLabelId, ctx_.pick(kPinLabel));
        d.setText(kEraseId, ctx_.pick(kEraseButton));
        d.setText(kCodeId, ctx_.pick(kCodeButton));
        d.setText(kExitId, ctx_.pick(kExitButton));
        d.setText(kKeysId, "1");
        dialog.bindButton(kEraseId, std::string(kClearCommand));
        dialog.bindButton(kCodeId, std::string(kCodeCommand));
        const auto complete = [&d] {
            return coding::entryComplete(d.text(kPinId), d.text(kKeysId));
        };
        const auto refresh = [&d, complete] {
            const bool on = complete();
            d.setEnabled(kEraseId, on);
            d.setEnabled(kCodeId, on);
        };
        refresh();
        dialog.run(
            [&](const std::string& word) {
                if ((word != kClearCommand && word != kCodeCommand) || !complete()) return true;
                if (!act(word == kClearCommand, d.text(kPinId),
                         coding::numberOfKeys(d.text(kKeysId))))
                    dialog.setCommand(std::string(kExitCommand));
                return true;
            },
            refresh);
        return {};
    }

  private:
    void say(const TextTable& text) const { ctx_.messageBox(ctx_.pick(text)); }

    int send(const std::vector<uint8_t>& request) { return Exchange(ctx_, request, reply_); }

    // The window the technician sees while a request runs.
    std::unique_ptr<ui::Dialog> progress(const TextTable& title) const {
        auto window = ctx_.screen().createDialog(opelProgressTemplate());
        window->setTitle(ctx_.pick(title));
        window->setText(kWaitId, ctx_.pick(coding::kPleaseWait));
        window->show(true);
        ctx_.pumpMessages();
        return window;
    }

    // One operation; false when the module ends after it.
    bool act(bool erase, const std::string& pin, int keys) {
        if (ctx_.isDemo()) {
            say(coding::kNotInDemo);
            return false;
        }
        if (!accepted(reply_, send(pinEntryRequest(pin)))) {
            say(kPinRefused);
            return false;
        }
        if (erase) return eraseKeys();
        codeKeys(pin, keys);
        return false;
    }

    bool eraseKeys() {
        const ui::Answer sure =
            ctx_.messageBox(ctx_.pick(kEraseQuestion), ui::Buttons::YesNo, ui::Icon::Question);
        if (sure != ui::Answer::Yes) return true;
        auto window = progress(kErasingTitle);
        send(stopPeriodicRequest());
        ctx_.clock().sleepMs(kBeforeEraseMs);
        const auto request = eraseKeysRequest();
        JournalledWrite journalled(ctx_, call_, "key", "", "erase all keys", request);
        const int length = send(request);
        window.reset();
        const bool erased = accepted(reply_, length);
        journalled.reply(reply_, length, erased);
        say(erased ? kErased : kEraseFailed);
        return erased;
    }

    void codeKeys(const std::string& pin, int keys) {
        for (int k = 0; k < keys; ++k) {
            say(kInsertKey);
            auto window = progress(kCodingTitle);
            send(pinEntryRequest(pin));
            ctx_.clock().sleepMs(kAfterPinMs);
            send(stopPeriodicRequest());
            ctx_.clock().sleepMs(kBeforeLearnMs);
            const auto request = learnKeyRequest();
            JournalledWrite journalled(
                ctx_, call_, "key", "",
                "key " + std::to_string(k + 1) + " of " + std::to_string(keys), request);
            const int length = send(request);
            window.reset();
            const LearnOutcome outcome = learnOutcome(reply_, length);
            journalled.reply(reply_, length, outcome == LearnOutcome::Codified);
            say(outcomeText(outcome));
        }
    }

    static const TextTable& outcomeText(LearnOutcome outcome) {
        switch (outcome) {
            case LearnOutcome::Codified:
                return kKeyCodified;
            case LearnOutcome::NoTransponder:
                return kNoTransponder;
            case LearnOutcome::AlreadyProgrammed:
                return kAlreadyProgrammed;
            case LearnOutcome::Refused:
                break;
        }
        return kCannotCodify;
    }

    const ModuleContext& ctx_;
    const PluginCall& call_;
    // Each reply is judged by the length of what came, never by what an earlier one left.
    std::array<uint8_t, 256> reply_{};
};

}  // namespace

ui::DialogTemplate opelKeysTemplate() {
    ui::DialogTemplate t;
    t.name = "OPELCANKEYS";
    t.rect = {0, 0, 320, 240};
    t.controls = {ui::makeControl(kKeysLabelId, ui::ControlKind::Label, {14, 28, 190, 20}),
                  coding::keysField(kKeysId, {210, 24, 48, 26}),
                  ui::makeControl(kPinLabelId, ui::ControlKind::Label, {14, 70, 190, 20}),
                  coding::pinField(kPinId, {210, 66, 96, 26}),
                  ui::makeControl(kEraseId, ui::ControlKind::Button, {14, 120, 140, 40}),
                  ui::makeControl(kCodeId, ui::ControlKind::Button, {166, 120, 140, 40}),
                  ui::makeControl(kExitId, ui::ControlKind::Button, {110, 186, 100, 34})};
    t.exitControl = kExitId;
    return t;
}

ui::DialogTemplate opelProgressTemplate() {
    ui::DialogTemplate t;
    t.name = "OPELCANKEYS_WAIT";
    t.rect = {40, 90, 240, 60};
    t.controls = {ui::makeControl(kWaitId, ui::ControlKind::Label, {10, 16, 220, 20})};
    return t;
}

std::string runOpelCanKeys(ModuleContext& ctx, const PluginCall& call) {
    return OpelCanKeys(ctx, call).run();
}

}  // namespace corvan::opelcankeys
