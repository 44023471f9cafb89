#include "plugins/vagcoding/coding_module.h"

#include <memory>
#include <optional>

#include "plugins/vagcoding/vagcoding_texts.h"
#include "plugins/vagkline/block_dialogue.h"
#include "plugins/vagkline/workshop_settings.h"
#include "runtime/journalled_write.h"
#include "runtime/module_dialog.h"
#include "ui/dialog_template.h"

namespace corvan::vagcoding {

namespace {

using ui::makeControl;

constexpr std::string_view kCodeCommand = "CODE";
// The unit needs a moment to store a coding before it answers the next identification.
constexpr int64_t kStoreWaitMs = 2000;

class Coding {
  public:
    Coding(ModuleContext& ctx, const PluginCall& call)
        : ctx_(ctx),
          call_(call),
          window_(ctx, codingTemplate(), ctx.pick(kTitlePrefix), call.name),
          d_(window_.dialog()),
          unit_(ctx, RetryPrompt::Fixed, [&ctx] { ctx.pumpMessages(); }),
          defaultWorkshopCode_(vagkline::readWorkshopSettings(ctx).code),
          preset_(restorePreset(call)) {}

    void run();

  private:
    void setUp();
    void readIdentification();
    void sendCoding();
    void info(const std::string& text) {
        d_.setText(kInfoId, text);
        ctx_.pumpMessages();
    }

    ModuleContext& ctx_;
    const PluginCall& call_;
    ModuleDialog window_;
    ui::Dialog& d_;
    vagkline::BlockDialogue unit_;
    uint16_t defaultWorkshopCode_;
    bool identificationDue_ = true;
    bool resultCheckDue_ = false;
    uint32_t current_ = 0;
    uint32_t requested_ = 0;
    std::optional<uint16_t> unitWorkshopCode_;
    // The coding the journal screen asks to put back: in the new-code field after the
    // first read, for the technician to send as any other.
    std::string preset_;
    // The coding sent, told to the journal with the coding read back.
    std::unique_ptr<JournalledWrite> journalled_;
    std::string codingReply_;
};

void Coding::setUp() {
    d_.setText(kActualLabelId, ctx_.pick(kActualCode));
    d_.setText(kNewLabelId, ctx_.pick(kNewCode));
    d_.setText(kForceTextId, ctx_.pick(kForceText));
    d_.setText(kCodeButtonId, ctx_.pick(kChangeCode));
    d_.setText(kExitId, ctx_.pick(kExitText));
    d_.setChecked(kForceId, false);
    d_.setEnabled(kCodeButtonId, false);
    d_.setEnabled(kExitId, false);
    window_.bindButton(kCodeButtonId, std::string(kCodeCommand));
}

void Coding::readIdentification() {
    if (ctx_.isDemo()) {
        info(ctx_.pick(kDemoMode));
        current_ = 0;
        d_.setText(kActualCodeId, "0");
        return;
    }
    info(ctx_.pick(kRetrieving));
    const vagkline::Identification id =
        unit_.readIdentification(vagkline::identificationRequest(call_.text));
    d_.setEnabled(kExitId, true);
    const auto data = id.codingData();
    if (!data) {
        // Too few blocks: the coding shown stays, the workshop code is not known.
        unitWorkshopCode_.reset();
        return;
    }
    d_.setEnabled(kCodeButtonId, true);
    current_ = data->coding;
    unitWorkshopCode_ = data->workshopCode;
    d_.setText(kActualCodeId, std::to_string(current_));
    d_.setText(kNewCodeId, std::to_string(current_));
    d_.setChecked(kForceId, false);
    if (!preset_.empty()) {
        d_.setText(kNewCodeId, preset_);
        preset_.clear();
    }
}

void Coding::sendCoding() {
    // Units that cannot be recoded in the usual way take the block a second time.
    const int sends = d_.isChecked(kForceId) ? 2 : 1;
    const uint32_t coding = vagkline::typedNumber(d_.text(kNewCodeId));
    if (coding > kHighestCoding) {
        ctx_.messageBox(std::string(kRangeMessage));
        return;
    }
    // The button goes first: a second tap while the window paints must not code again.
    d_.setEnabled(kCodeButtonId, false);
    info(std::string(kCodingText));
    const uint16_t workshopCode =
        vagkline::workshopCodeToSend(unitWorkshopCode_, defaultWorkshopCode_);
    unit_.switchKeepAlive(false);
    bool refused = false;
    const auto request = vagkline::codingRequest(static_cast<uint16_t>(coding), workshopCode);
    journalled_ = std::make_unique<JournalledWrite>(ctx_, call_, "coding", std::to_string(current_),
                                                    std::to_string(coding), request,
                                                    std::to_string(current_));
    int length = 0;
    for (int i = 0; i < sends && !refused; ++i) {
        length = unit_.send(request);
        refused = vagkline::blockTitle(unit_.reply()) == vagkline::kTitleRefused;
    }
    if (refused) journalled_->reply(unit_.reply(), length, false);
    codingReply_ = replyText(unit_.reply(), length);
    if (refused) ctx_.messageBox(std::string(kNotAvailableNow));
    unit_.switchKeepAlive(true);
    if (refused) {
        d_.setEnabled(kCodeButtonId, true);
        return;
    }
    requested_ = coding;
    identificationDue_ = resultCheckDue_ = true;
    d_.setEnabled(kExitId, false);
    ctx_.clock().sleepMs(kStoreWaitMs);
}

void Coding::run() {
    setUp();
    for (;;) {
        if (identificationDue_) {
            identificationDue_ = false;
            readIdentification();
        } else {
            d_.setEnabled(kExitId, true);
        }
        if (resultCheckDue_) {
            resultCheckDue_ = false;
            if (journalled_)
                journalled_->outcome(
                    codingReply_ + ", coding read back: " + std::to_string(current_),
                    current_ == requested_);
            journalled_.reset();
            ctx_.messageBox(ctx_.pick(current_ == requested_ ? kCodingOk : kWrongCode));
        }
        info(ctx_.pick(kEnterNewCode));
        const std::string word = window_.command();
        if (word == kExitCommand) return;
        window_.clearCommand();
        if (word == kCodeCommand) sendCoding();
    }
}

}  // namespace

ui::DialogTemplate codingTemplate() {
    ui::DialogTemplate t;
    t.name = "VAGCODING";
    t.rect = {0, 0, 320, 240};
    ui::ControlSpec infoLine = makeControl(kInfoId, ui::ControlKind::Label, {4, 6, 312, 34});
    infoLine.multiLine = true;
    ui::ControlSpec newCode = makeControl(kNewCodeId, ui::ControlKind::Edit, {170, 76, 90, 26});
    newCode.digitsOnly = true;
    newCode.maxLength = 5;
    ui::ControlSpec forceText = makeControl(kForceTextId, ui::ControlKind::Label, {40, 112, 270, 40});
    forceText.multiLine = true;
    t.controls = {
        infoLine,
        makeControl(kActualLabelId, ui::ControlKind::Label, {20, 50, 146, 20}),
        makeControl(kActualCodeId, ui::ControlKind::Label, {170, 50, 90, 20}),
        makeControl(kNewLabelId, ui::ControlKind::Label, {20, 80, 146, 20}),
        newCode,
        makeControl(kForceId, ui::ControlKind::CheckBox, {16, 114, 20, 20}),
        forceText,
        makeControl(kCodeButtonId, ui::ControlKind::Button, {16, 170, 140, 34}, "Change ECU code"),
        makeControl(kExitId, ui::ControlKind::Button, {164, 170, 140, 34}, "Exit"),
    };
    t.exitControl = kExitId;
    return t;
}

std::string runCoding(ModuleContext& ctx, const PluginCall& call) {
    // Without a window nobody can type a coding: nothing is sent.
    if (!ctx.showsDialog()) return {};
    Coding(ctx, call).run();
    return {};
}

}  // namespace corvan::vagcoding
