#include "plugins/vagadapt/adaptation_module.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

#include "platform/library_loader.h"
#include "plugins/vagadapt/adapt_requests.h"
#include "plugins/vagadapt/vagadapt_texts.h"
#include "plugins/vagadapt/value_texts.h"
#include "plugins/vagkline/block_requests.h"
#include "plugins/vagkline/unit_link.h"
#include "plugins/vagkline/workshop_settings.h"
#include "runtime/commands.h"
#include "runtime/data_path.h"
#include "runtime/journalled_write.h"
#include "runtime/module_dialog.h"
#include "runtime/param_text.h"
#include "runtime/run_plugin.h"
#include "ui/dialog_template.h"

namespace corvan::vagadapt {

namespace {

using ui::makeControl;

constexpr std::string_view kRead = "READ", kPause = "PAUSE", kSave = "SAVE", kLogin = "PSW";
constexpr uint32_t kHighestChannel = 255, kHighestValue = 0xFFFF;
// The progress before each of the five test values.
constexpr int kTestProgress[] = {20, 35, 50, 65, 80};

class Adaptation {
  public:
    Adaptation(ModuleContext& ctx, const PluginCall& call)
        : ctx_(ctx), call_(call), unit_(ctx, RetryPrompt::Multilingual) {}

    void run();

  private:
    void setUp();
    void readFields();
    void readPass();
    void save();
    void login();
    void send(const std::vector<uint8_t>& request) { unit_.send(request); }
    // A step of a read: the window is pumped after it (a save goes without, so that no
    // button pressed meanwhile is lost to the word the save leaves).
    void readStep(const std::vector<uint8_t>& request) {
        unit_.send(request);
        ctx_.pumpMessages();
    }
    bool lastAccepted() const { return accepted(unit_.reply()); }
    void progress(int value) { window_->dialog().setProgress(kProgressId, value); }
    void wait(int64_t ms) { ctx_.clock().sleepMs(ms); }
    void stopRoutine() {
        send(stopRequest(target_));
        running_ = false;
    }
    ui::Dialog& d() { return window_->dialog(); }

    ModuleContext& ctx_;
    const PluginCall& call_;
    vagkline::UnitLink unit_;
    std::unique_ptr<ModuleDialog> window_;
    std::string title_;
    std::string dataPath_, loginName_;
    vagkline::WorkshopId workshopId_{};
    uint8_t target_ = 0;
    bool running_ = false;
    std::optional<uint32_t> lastChannel_;
    uint32_t channel_ = 0, value_ = 0;
    int pendingStep_ = 0;  // "+" and "-" presses not yet applied to the channel field
    std::string lastStartStop_;
    // The value the unit showed for a channel, what the journal keeps as the value before
    // a save.
    std::optional<std::pair<uint32_t, uint32_t>> readValue_;
};

std::string channelValue(uint32_t channel, uint32_t value) {
    return "channel " + std::to_string(channel) + ": " + std::to_string(value);
}

// "channel,value" as the journal screen gives it back; nothing for anything else.
std::optional<std::pair<uint32_t, uint32_t>> parsePreset(const std::string& preset) {
    const size_t comma = preset.find(',');
    if (comma == std::string::npos || comma == 0 || comma + 1 == preset.size()) return std::nullopt;
    const std::string channel = preset.substr(0, comma), value = preset.substr(comma + 1);
    if (channel.size() > 3 || value.size() > 5) return std::nullopt;
    for (char c : channel + value)
        if (c < '0' || c > '9') return std::nullopt;
    const uint32_t ch = vagkline::typedNumber(channel), v = vagkline::typedNumber(value);
    if (ch > kHighestChannel || ch == 0 || v > kHighestValue) return std::nullopt;
    return std::pair{ch, v};
}

void Adaptation::setUp() {
    // The small window stands while the main one is being built.
    std::unique_ptr<ui::Dialog> preparing = ctx_.screen().createDialog(preparingTemplate());
    preparing->setText(kPreparingTextId, std::string(kPreparing));
    preparing->show(true);
    ctx_.pumpMessages();

    const int length = unit_.send(cmd::readKeepAliveRequest());
    target_ = targetAddress(unit_.reply(), length);
    workshopId_ = vagkline::readWorkshopSettings(ctx_).identification;

    title_ = ctx_.pick(kTitlePrefix) + call_.name;
    window_ = std::make_unique<ModuleDialog>(ctx_, adaptationTemplate(), ctx_.pick(kTitlePrefix),
                                             call_.name);
    const std::pair<int, const TextTable*> texts[] = {{kSpecialLabelId, &kSpecialLabel},
                                                      {kChannelLabelId, &kChannelLabel},
                                                      {kStartStopId, &kStartText},
                                                      {kFunctionLabelId, &kFunctionLabel},
                                                      {kValueLabelId, &kCurrentValueLabel},
                                                      {kNewValueLabelId, &kNewValueLabel},
                                                      {kSaveId, &kSaveText},
                                                      {kAccessCodeId, &kAccessCodeText},
                                                      {kExitId, &kExitText}};
    for (const auto& [id, table] : texts) d().setText(id, ctx_.pick(*table));
    d().setText(kChannelId, "0");
    d().setText(kNewValueId, "0");
    // Called from the journal to put a value back: the channel and its old value stand in
    // the fields, for the technician to read and save as any other.
    if (const auto preset = parsePreset(restorePreset(call_))) {
        d().setText(kChannelId, std::to_string(preset->first));
        d().setText(kNewValueId, std::to_string(preset->second));
    }
    d().setRange(kProgressId, 0, 100);
    d().setEnabled(kAccessCodeId, true);
    d().setEnabled(kSaveId, true);
    window_->bindButton(kSaveId, std::string(kSave));
    window_->bindButton(kAccessCodeId, std::string(kLogin));
    ui::DialogHandlers handlers;
    handlers.onButton = [this](int id) {
        if (id == kPlusId) ++pendingStep_;
        if (id == kMinusId) --pendingStep_;
        if (id == kStartStopId) {
            lastStartStop_ = std::string(window_->command() == kRead ? kPause : kRead);
            window_->setCommand(lastStartStop_);
        }
    };
    window_->setHandlers(std::move(handlers));
    preparing.reset();

    dataPath_ = ReadDataPath(ctx_);
    loginName_ = GetKeyValue(call_.text, "DLLPSW=", call_.start);
    running_ = false;
    window_->clearCommand();
}

void Adaptation::readFields() {
    const std::string typed = d().text(kChannelId);
    // A number beyond what the unit takes is shown as the highest it takes: what the
    // technician sees is what the unit gets.
    uint32_t channel = std::min(vagkline::typedNumber(typed), kHighestChannel);
    // The buttons step within 0 to 255 and stop there.
    const bool stepped = pendingStep_ != 0;
    for (; pendingStep_ > 0; --pendingStep_)
        if (channel < kHighestChannel) ++channel;
    for (; pendingStep_ < 0; ++pendingStep_)
        if (channel > 0) --channel;
    // An emptied field stays empty while the technician types.
    if ((stepped || !typed.empty()) && std::to_string(channel) != typed)
        d().setText(kChannelId, std::to_string(channel));
    uint32_t value = vagkline::typedNumber(d().text(kNewValueId));
    if (value > kHighestValue) {
        value = kHighestValue;
        d().setText(kNewValueId, std::to_string(value));
    }
    channel_ = channel;
    value_ = value;
    d().setEnabled(kStartStopId, channel_ != 0);
    d().setText(kSaveId, ctx_.pick(channel_ != 0 ? kSaveText : kResetText));
}

void Adaptation::readPass() {
    d().setText(kStartStopId, ctx_.pick(kStopText));
    progress(10);
    wait(100);
    ctx_.pumpMessages();
    // Another channel: the routine starts over for it.
    if (lastChannel_ != channel_ && running_) {
        readStep(stopRequest(target_));
        running_ = false;
    }
    lastChannel_ = channel_;
    const auto channel = static_cast<uint8_t>(channel_);
    if (!running_) {
        readStep(startRequest(target_));
        progress(25);
        readStep(readRequest(target_));
        progress(45);
        readStep(selectRequest(target_, channel));
        running_ = true;
    }
    progress(60);
    wait(100);
    ctx_.pumpMessages();
    if (lastAccepted()) {
        readStep(readRequest(target_));
        d().setEnabled(kSaveId, true);
        readValue_ = std::pair{channel_, static_cast<uint32_t>(currentValue(unit_.reply()))};
        d().setText(kValueId, std::to_string(readValue_->second));
        const auto code = valueTextCode(unit_.reply());
        const auto text = code ? valueText(*code) : std::nullopt;
        d().setText(kDescriptionId, text ? std::string(*text) : ctx_.pick(kNoValueText));
    } else {
        d().setEnabled(kSaveId, false);
        readStep(stopRequest(target_));
        running_ = false;
        readValue_.reset();
        d().setText(kValueId, ctx_.pick(kReadRefused));
    }
    progress(100);
    wait(200);
}

void Adaptation::save() {
    const uint32_t channel = channel_;
    uint16_t value = static_cast<uint16_t>(value_);
    if (ctx_.messageBox(ctx_.pick(kSaveQuestion), ui::Buttons::YesNo, ui::Icon::Question) ==
        ui::Answer::Yes) {
        progress(10);
        wait(200);
        bool accept = true;
        if (channel == 0) {
            // Channel 0 stands for every channel: no test value, the value 0.
            send(startRequest(target_));
            send(readRequest(target_));
            send(selectRequest(target_, 0));
            value = 0;
        } else {
            for (int step : kTestProgress) {
                progress(step);
                send(testRequest(target_, value));
                if (!lastAccepted()) {
                    ctx_.messageBox(ctx_.pick(kChannelLocked));
                    break;
                }
                send(readRequest(target_));
            }
            accept = lastAccepted();
        }
        if (accept) {
            const auto request = saveRequest(target_, value, workshopId_);
            const bool known = channel != 0 && readValue_ && readValue_->first == channel;
            JournalledWrite journalled(
                ctx_, call_, "adaptation", known ? channelValue(channel, readValue_->second) : "",
                channel ? channelValue(channel, value) : "channel 0: all channels reset", request,
                known ? std::to_string(channel) + "," + std::to_string(readValue_->second) : "");
            const int length = unit_.send(request);
            journalled.reply(unit_.reply(), length, lastAccepted());
            progress(100);
            wait(200);
            if (lastAccepted()) {
                send(readRequest(target_));
                ctx_.messageBox(ctx_.pick(kSaveAccepted));
            } else {
                ctx_.messageBox(ctx_.pick(kSaveRefused));
            }
        }
        stopRoutine();
    }
    if (channel == 0) {
        window_->clearCommand();
        progress(0);
        return;
    }
    // The saved channel is read again.
    d().setText(kValueId, std::string(kValueAfterSave));
    d().setEnabled(kSaveId, false);
    running_ = false;
    lastStartStop_ = std::string(kRead);
    window_->setCommand(lastStartStop_);
}

void Adaptation::login() {
    const std::string devicePath = dataPath_ + "\\dll\\" + loginName_;
    std::unique_ptr<LoadedLibrary> held;
    if (const LibraryLoader* loader = ctx_.host().loader) {
        if (const auto path = pluginHostPath(ctx_, dataPath_, loginName_)) {
            std::string error;
            held = loader->load(*path, &error);
        }
    }
    if (!held) {
        ctx_.messageBox(formatLoadError(ctx_.pick(kLoadError), devicePath));
        return;
    }
    window_->hideForCall();
    // The login shows its texts in Spanish, as the adaptation calls it; its result is the
    // unit's business, not the adaptation's.
    RunPlugin(ctx_, dataPath_, loginName_, PluginCall{call_.text, call_.start, call_.mode, title_},
              kSpanish, ctx_.pick(kLoadError));
    window_->showAfterCall();
}

void Adaptation::run() {
    setUp();
    for (;;) {
        ctx_.pumpMessages();
        readFields();
        const std::string word = window_->command();
        if (word == kLogin) {
            login();
            window_->setCommand(lastStartStop_);
            continue;
        }
        if (word == kPause) {
            if (running_) stopRoutine();
            d().setEnabled(kSaveId, false);
        }
        if (word == kRead) {
            readPass();
            continue;
        }
        d().setText(kStartStopId, ctx_.pick(kStartText));
        wait(100);
        if (word == kSave) save();
        if (word == kExitCommand) {
            if (running_) stopRoutine();
            return;
        }
    }
}

}  // namespace

ui::DialogTemplate adaptationTemplate() {
    ui::DialogTemplate t;
    t.name = "VAGADAPT";
    t.rect = {0, 0, 320, 240};
    ui::ControlSpec channel = makeControl(kChannelId, ui::ControlKind::Edit, {84, 22, 46, 26}, "0");
    channel.digitsOnly = true;
    channel.maxLength = 3;
    ui::ControlSpec newValue = makeControl(kNewValueId, ui::ControlKind::Edit, {170, 100, 80, 26}, "0");
    newValue.digitsOnly = true;
    newValue.maxLength = 5;
    t.controls = {
        makeControl(kSpecialLabelId, ui::ControlKind::Label, {8, 2, 304, 18}),
        makeControl(kChannelLabelId, ui::ControlKind::Label, {8, 26, 74, 20}),
        channel,
        makeControl(kPlusId, ui::ControlKind::Button, {134, 22, 28, 26}, "+"),
        makeControl(kMinusId, ui::ControlKind::Button, {166, 22, 28, 26}, "-"),
        makeControl(kStartStopId, ui::ControlKind::Button, {202, 22, 110, 26}),
        makeControl(kFunctionLabelId, ui::ControlKind::Label, {8, 54, 80, 18}),
        makeControl(kDescriptionId, ui::ControlKind::Label, {90, 54, 222, 18}),
        makeControl(kValueLabelId, ui::ControlKind::Label, {8, 78, 160, 18}),
        makeControl(kValueId, ui::ControlKind::Label, {170, 78, 142, 18}),
        makeControl(kNewValueLabelId, ui::ControlKind::Label, {8, 104, 160, 18}),
        newValue,
        makeControl(kSaveId, ui::ControlKind::Button, {8, 132, 304, 28}),
        makeControl(kProgressId, ui::ControlKind::Progress, {8, 166, 304, 10}),
        makeControl(kAccessCodeId, ui::ControlKind::Button, {8, 184, 148, 30}),
        makeControl(kExitId, ui::ControlKind::Button, {164, 184, 148, 30}, "Exit"),
    };
    t.exitControl = kExitId;
    return t;
}

ui::DialogTemplate preparingTemplate() {
    ui::DialogTemplate t;
    t.name = "VAGADAPT_WAIT";
    t.rect = {40, 90, 240, 60};
    t.controls = {makeControl(kPreparingTextId, ui::ControlKind::Label, {10, 18, 220, 24})};
    return t;
}

std::string runAdaptation(ModuleContext& ctx, const PluginCall& call) {
    if (ctx.isDemo()) {
        ctx.messageBox(ctx.pick(kDemoRefused));
        return {};
    }
    // Without a window nobody can choose a channel: nothing is sent.
    if (!ctx.showsDialog()) return {};
    Adaptation(ctx, call).run();
    return {};
}

}  // namespace corvan::vagadapt
