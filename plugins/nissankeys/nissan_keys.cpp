#include "plugins/nissankeys/nissan_keys.h"

#include <array>
#include <memory>

#include "plugins/codingcommon/dialog_controls.h"
#include "plugins/codingcommon/key_entry.h"
#include "plugins/nissankeys/nissan_key_requests.h"
#include "plugins/nissankeys/nissan_keys_texts.h"
#include "runtime/exchange.h"
#include "runtime/journalled_write.h"
#include "runtime/module_dialog.h"

namespace corvan::nissankeys {

namespace {

constexpr std::string_view kCodeCommand = "CODE";
constexpr int64_t kBeforePollsMs = 60;

class NissanKeys {
  public:
    NissanKeys(const ModuleContext& ctx, const PluginCall& call)
        : ctx_(ctx), call_(call), requests_(readRequests(call.text, call.start)) {}

    std::string run() {
        if (!ctx_.showsDialog()) return {};
        title_ = ctx_.pick(coding::kTitlePrefix) + call_.name;
        ModuleDialog dialog(ctx_, nissanKeysTemplate(), ctx_.pick(coding::kTitlePrefix),
                            call_.name);
        dialog.dialog().setText(kCodeId, ctx_.pick(kCodeButton));
        // Nothing to start in demonstration, nor when the data lack a request.
        const bool enabled = !ctx_.isDemo() && requests_.usable();
        dialog.dialog().setEnabled(kCodeId, enabled);
        dialog.bindButton(kCodeId, std::string(kCodeCommand));
        dialog.run([&](const std::string& word) {
            if (word != kCodeCommand || !enabled) return true;
            procedure();
            dialog.setCommand(std::string(kExitCommand));
            return true;
        });
        return {};
    }

  private:
    void say(const TextTable& text) const { ctx_.messageBox(ctx_.pick(text)); }

    // Polls the status until the key is coded; false when the 200th poll came and went.
    bool pollStatus(ui::Dialog& window) {
        for (int done = 0; done < kMaxPolls; ++done) {
            ctx_.pumpMessages();
            window.setProgress(kBarId, pollProgress(done));
            Exchange(ctx_, requests_.status, status_);
            // The last poll's answer is not looked at: the procedure took too long.
            if (done + 1 == kMaxPolls) return false;
            if (codingDone(status_)) return true;
        }
        return false;
    }

    void procedure() {
        JournalledWrite journalled(ctx_, call_, "key", "", "key coding", requests_.start);
        const int length = Exchange(ctx_, requests_.start, reply_);
        const std::string started = replyText(reply_, length);
        if (!codingStarted(reply_)) {
            journalled.outcome(started, false);
            return say(kStartRefused);
        }
        std::unique_ptr<ui::Dialog> window = ctx_.screen().createDialog(nissanProgressTemplate());
        window->setTitle(title_);
        window->setText(kTryingId, ctx_.pick(kTrying));
        window->setText(kWaitId, ctx_.pick(coding::kPleaseWait));
        window->setRange(kBarId, 0, 100);
        window->show(true);
        ctx_.pumpMessages();
        ctx_.clock().sleepMs(kBeforePollsMs);
        const bool coded = pollStatus(*window);
        Exchange(ctx_, requests_.closing, reply_);
        journalled.outcome(started + (coded ? ", key programmed" : ", key not coded"), coded);
        window.reset();
        say(coded ? kKeyProgrammed : kCannotCodify);
    }

    const ModuleContext& ctx_;
    const PluginCall& call_;
    NissanRequests requests_;
    std::string title_;
    // A request that got no reply leaves its buffer as it was. The status has a buffer of its
    // own, so a silent poll reads as the poll before it and never as the start's reply.
    std::array<uint8_t, 256> reply_{};
    std::array<uint8_t, 256> status_{};
};

}  // namespace

ui::DialogTemplate nissanKeysTemplate() {
    ui::DialogTemplate t;
    t.name = "NISSANKEYS";
    t.rect = {0, 0, 320, 240};
    t.controls = {ui::makeControl(kCodeId, ui::ControlKind::Button, {10, 90, 300, 48})};
    return t;
}

ui::DialogTemplate nissanProgressTemplate() {
    ui::DialogTemplate t;
    t.name = "NISSANKEYS_WAIT";
    t.rect = {30, 70, 260, 100};
    t.controls = {ui::makeControl(kTryingId, ui::ControlKind::Label, {10, 8, 240, 20}),
                  ui::makeControl(kWaitId, ui::ControlKind::Label, {10, 30, 240, 20}),
                  ui::makeControl(kBarId, ui::ControlKind::Progress, {10, 58, 240, 16})};
    return t;
}

std::string runNissanKeys(ModuleContext& ctx, const PluginCall& call) {
    return NissanKeys(ctx, call).run();
}

}  // namespace corvan::nissankeys
