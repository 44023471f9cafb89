#include "plugins/renaultsrs/renault_srs.h"

#include <array>
#include <optional>

#include "plugins/codingcommon/airbag_data.h"
#include "plugins/codingcommon/dialog_controls.h"
#include "plugins/renaultsrs/renault_srs_texts.h"
#include "runtime/exchange.h"
#include "runtime/journal_record.h"
#include "runtime/journalled_write.h"
#include "runtime/module_dialog.h"

namespace corvan::renaultsrs {

namespace {

constexpr std::string_view kOnCommand = "ON";
constexpr std::string_view kOffCommand = "OFF";

class RenaultSrs {
  public:
    RenaultSrs(const ModuleContext& ctx, const PluginCall& call)
        : ctx_(ctx),
          call_(call),
          data_(coding::readAirbagData(call.text, call.start)),
          status_(coding::airbagRequest(data_.inf)),
          on_(coding::airbagRequest(data_.on)),
          off_(coding::airbagRequest(data_.off)),
          mask_(coding::statusMask(data_.bit)) {}

    std::string run() {
        if (!ctx_.showsDialog()) return {};
        ModuleDialog dialog(ctx_, renaultSrsTemplate(), kTitle, "");
        ui::Dialog& d = dialog.dialog();
        d.setText(kOnId, ctx_.pick(kOnButton));
        d.setText(kOffId, ctx_.pick(kOffButton));
        // Outside demonstration a switch the data do not name cannot be asked for.
        d.setEnabled(kOnId, ctx_.isDemo() || !on_.empty());
        d.setEnabled(kOffId, ctx_.isDemo() || !off_.empty());
        dialog.bindButton(kOnId, std::string(kOnCommand));
        dialog.bindButton(kOffId, std::string(kOffCommand));
        dialog.run(
            [&](const std::string& word) {
                if (word == kOnCommand || word == kOffCommand) switchPassenger(word == kOnCommand);
                return true;
            },
            [&] { d.setText(kStatusId, statusText()); });
        return {};
    }

  private:
    std::string statusText() {
        if (ctx_.isDemo()) return ctx_.pick(kStatusDemo);
        if (status_.empty() || !mask_) return ctx_.pick(kStatusUnknown);
        // A reply that never came leaves the last status in the buffer.
        Exchange(ctx_, status_, statusReply_, 4, 0.0, 1.0, RetryPrompt::Fixed);
        const uint8_t status = coding::statusByte(statusReply_, data_.pos);
        lastStatus_ = status;
        const bool locked = coding::maskSet(status, *mask_);
        return ctx_.pick(locked ? kStatusOff : kStatusOn);
    }

    void switchPassenger(bool on) {
        const std::vector<uint8_t>& request = on ? on_ : off_;
        if (!ctx_.isDemo() && !request.empty()) {
            JournalledWrite journalled(
                ctx_, call_, "airbag",
                lastStatus_ ? "status byte " + spacedHex({*lastStatus_}) : std::string(),
                on ? "passenger airbag on" : "passenger airbag off", request);
            const int length = Exchange(ctx_, request, reply_, 4, 0.0, 1.0, RetryPrompt::Fixed);
            journalled.reply(reply_, length, length > 0);
        }
        ctx_.messageBox(std::string(kSwitchDone));
    }

    const ModuleContext& ctx_;
    const PluginCall& call_;
    coding::AirbagData data_;
    std::vector<uint8_t> status_, on_, off_;
    std::optional<uint8_t> mask_;
    std::optional<uint8_t> lastStatus_;  // the status byte the screen showed last
    std::array<uint8_t, 256> statusReply_{};
    std::array<uint8_t, 256> reply_{};
};

}  // namespace

ui::DialogTemplate renaultSrsTemplate() {
    ui::DialogTemplate t;
    t.name = "RENAULTSRS";
    t.rect = {0, 0, 320, 240};
    t.controls = {ui::makeControl(kStatusId, ui::ControlKind::Label, {10, 30, 300, 40}),
                  ui::makeControl(kOnId, ui::ControlKind::Button, {30, 90, 260, 44}),
                  ui::makeControl(kOffId, ui::ControlKind::Button, {30, 150, 260, 44})};
    return t;
}

std::string runRenaultSrs(ModuleContext& ctx, const PluginCall& call) {
    return RenaultSrs(ctx, call).run();
}

}  // namespace corvan::renaultsrs
