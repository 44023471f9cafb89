#include "plugins/vagchannels/channel_reader.h"

#include <array>

#include "plugins/vagchannels/channel_descriptions.h"
#include "plugins/vagchannels/channel_frames.h"
#include "plugins/vagchannels/channel_rows.h"
#include "plugins/vagchannels/vagchannels_texts.h"
#include "runtime/commands.h"
#include "runtime/data_path.h"
#include "runtime/exchange.h"
#include "runtime/module_dialog.h"
#include "runtime/param_text.h"

namespace corvan::vagchannels {

namespace {

constexpr std::string_view kFrameKey = "FRAME=";
constexpr std::string_view kPlusWord = "PLUS";
constexpr std::string_view kMinusWord = "MINUS";
constexpr std::string_view kStartWord = "START";
constexpr std::string_view kGroupWord = "GROUP";

constexpr int kAttempts = 4;
constexpr double kMaintenanceWaitSeconds = 0.2;  // the box takes a new keep-alive message
constexpr double kPollFactor = 1.0;              // 50 ms between reads of a reply
constexpr int kPauseWaitMs = 100;
constexpr int kStepWaitMs = 50;

// A KW1281 answer fits one frame of this size with room to spare; a longer frame counts as
// a bad one.
constexpr size_t kReplySize = 1024;

class ChannelReader {
  public:
    // `restore` hands the box's own keep-alive message back (asked for before the window
    // opens).
    ChannelReader(const ModuleContext& ctx, const PluginCall& call, Bytes restore)
        : ctx_(ctx),
          call_(call),
          dialog_(ctx, channelsTemplate(), pickTextLiveData(kTitlePrefix, ctx.language()),
                  call.name),
          restore_(std::move(restore)) {}

    void run();

  private:
    std::string text(const TextTable& table) const {
        return pickTextLiveData(table, ctx_.language());
    }
    ui::Dialog& d() { return dialog_.dialog(); }

    void prepare();
    void pause();
    void readCycle();
    void setUp(int group);
    std::vector<uint8_t> readGroup(int group);
    void showRows(const ChannelRows& rows);
    void step(int percent);
    void pump();
    void setReading(bool reading);
    int send(const Bytes& frame, bool maintenance);
    std::vector<uint8_t> answer(int length) const;

    const ModuleContext& ctx_;
    const PluginCall& call_;
    ModuleDialog dialog_;
    Bytes restore_;
    ChannelDescriptions descriptions_;
    Bytes template_;
    Bytes header_;  // the answer of the current set-up's group read
    std::array<uint8_t, kReplySize> reply_{};
    bool reading_ = false;
    bool exit_ = false;
    // Clear while the box repeats a block of this reader (until the next pause).
    bool setUpNeeded_ = true;
    int lastGroup_ = -1;
};

int send(const ModuleContext& ctx, const Bytes& frame, std::span<uint8_t> reply, bool maintenance) {
    return Exchange(ctx, frame, reply, kAttempts, maintenance ? kMaintenanceWaitSeconds : 0.0,
                    kPollFactor, RetryPrompt::Fixed);
}

// The box's keep-alive message as it stands before the reader changes it, as the frame that
// puts it back; in the demonstration the box is not asked.
Bytes keptMaintenance(const ModuleContext& ctx) {
    std::array<uint8_t, kReplySize> reply{};
    const int length = ctx.isDemo() ? 0 : send(ctx, queryMaintenanceFrame(), reply, false);
    return restoreFrame(reply, length);
}

int ChannelReader::send(const Bytes& frame, bool maintenance) {
    return vagchannels::send(ctx_, frame, reply_, maintenance);
}

std::vector<uint8_t> ChannelReader::answer(int length) const {
    const auto bytes = cmd::ecuAnswer(reply_, length);
    return {bytes.begin(), bytes.end()};
}

void ChannelReader::prepare() {
    descriptions_ = readChannelDescriptions(call_.text, call_.start);
    template_ = blockTemplate(GetKeyValue(call_.text, kFrameKey, call_.start));

    ui::Dialog& dialog = d();
    dialog.setText(kChannelLabelId, text(kChannelLabel));
    dialog.setText(kGroupId, "0");
    dialog.setText(kExitId, text(kExitText));
    dialog.setColumns(kListId, {{text(kGroupHeading), 60},
                                {text(kDescriptionHeading), 0},
                                {text(kValueHeading), 95},
                                {text(kUnitHeading), 65}});
    for (const ChannelRow& r : initialRows())
        dialog.addRow(kListId, {r.field, r.description, r.value, r.unit});
    dialog.setRange(kProgressId, 0, 100);
    setReading(false);
    // In the demonstration nothing may reach the box: reading cannot start.
    if (ctx_.isDemo()) dialog.setEnabled(kStartId, false);

    dialog_.bindButton(kPlusId, std::string(kPlusWord));
    dialog_.bindButton(kMinusId, std::string(kMinusWord));
    dialog_.bindButton(kStartId, std::string(kStartWord));
    ui::DialogHandlers handlers;
    handlers.onTextChange = [this](int id) {
        if (id == kGroupId) dialog_.setCommand(std::string(kGroupWord));
    };
    dialog_.setHandlers(std::move(handlers));
}

void ChannelReader::setReading(bool reading) {
    reading_ = reading;
    d().setEnabled(kListId, reading);
    d().setControlVisible(kProgressId, reading);
}

// Window messages, then what the technician asked for. The buttons only leave a word.
void ChannelReader::pump() {
    ctx_.pumpMessages();
    const std::string word = dialog_.command();
    if (word.empty()) return;
    if (word == kExitCommand) {
        exit_ = true;
        return;
    }
    dialog_.clearCommand();
    const std::string typed = d().text(kGroupId);
    const int group = groupFromText(typed);
    if (word == kPlusWord) {
        d().setText(kGroupId, std::to_string(nextGroup(group)));
    } else if (word == kMinusWord) {
        d().setText(kGroupId, std::to_string(previousGroup(group)));
    } else if (word == kGroupWord) {
        const std::string normal = std::to_string(group);
        if (normal != typed) d().setText(kGroupId, normal);
    } else if (word == kStartWord) {
        setReading(!reading_);
    }
}

void ChannelReader::pause() {
    d().setText(kStartId, text(kBeginText));
    ctx_.clock().sleepMs(kPauseWaitMs);
    if (!setUpNeeded_) send(restore_, true);
    pump();
    setUpNeeded_ = true;
}

void ChannelReader::setUp(int group) {
    const bool title29 = readsGroupsWithTitle29(template_);
    const Bytes block = groupBlock(template_, uint8_t(group));
    header_.clear();
    if (group == 0) {
        send(group0MaintenanceFrame(title29), true);
    } else if (title29) {
        send(maintenanceStopFrame(block), true);
        send(acknowledgeFrame(), false);
        header_ = answer(send(readGroupFrame(block), false));
        send(maintenanceStartFrame(block), true);
    } else {
        send(maintenanceStartFrame(block), true);
    }
}

std::vector<uint8_t> ChannelReader::readGroup(int group) {
    if (group == 0) return answer(send(group0ReadFrame(readsGroupsWithTitle29(template_)), false));
    return answer(send(readGroupFrame(groupBlock(template_, uint8_t(group))), false));
}

void ChannelReader::showRows(const ChannelRows& rows) {
    for (int i = 0; i < kRows; ++i) {
        const ChannelRow& r = rows[size_t(i)];
        d().setCell(kListId, i, 0, r.field);
        d().setCell(kListId, i, 1, r.description);
        d().setCell(kListId, i, 2, r.value);
        d().setCell(kListId, i, 3, r.unit);
    }
}

void ChannelReader::step(int percent) {
    d().setProgress(kProgressId, percent);
    ctx_.clock().sleepMs(kStepWaitMs);
}

void ChannelReader::readCycle() {
    d().setText(kStartId, text(kPauseText));
    const int group = groupFromText(d().text(kGroupId));
    if (group != lastGroup_) setUpNeeded_ = true;
    if (setUpNeeded_) {
        setUp(group);
        setUpNeeded_ = false;
    }
    lastGroup_ = group;
    const ChannelRows rows = groupRows(group, readGroup(group), header_, descriptions_);

    step(5);
    pump();
    step(15);
    if (exit_) return;
    step(25);
    showRows(rows);
    step(35);
    d().setProgress(kProgressId, 95);
    pump();
}

void ChannelReader::run() {
    prepare();
    while (!exit_) {
        if (reading_)
            readCycle();
        else
            pause();
    }
    if (!setUpNeeded_) send(restore_, true);
}

}  // namespace

ui::DialogTemplate channelsTemplate() {
    using ui::ControlKind;
    using ui::makeControl;
    ui::DialogTemplate t;
    t.name = "VAGCHANNELS";
    t.rect = {0, 0, 320, 240};
    ui::ControlSpec group = makeControl(kGroupId, ControlKind::Edit, {66, 4, 44, 24}, "0");
    group.maxLength = 3;
    // The bar shows only while reading.
    ui::ControlSpec progress = makeControl(kProgressId, ControlKind::Progress, {4, 214, 200, 20});
    progress.visible = false;
    t.controls = {
        makeControl(kChannelLabelId, ControlKind::Label, {4, 8, 60, 20}, "CHANNEL"),
        group,
        makeControl(kMinusId, ControlKind::Button, {114, 4, 30, 24}, "-"),
        makeControl(kPlusId, ControlKind::Button, {148, 4, 30, 24}, "+"),
        makeControl(kStartId, ControlKind::Button, {184, 4, 76, 24}, "Begin"),
        makeControl(kListId, ControlKind::ListView, {4, 32, 312, 176}),
        progress,
        makeControl(kExitId, ControlKind::Button, {212, 212, 104, 24}, "Exit"),
    };
    t.exitControl = kExitId;
    return t;
}

std::string runChannelReader(ModuleContext& ctx, const PluginCall& call) {
    // Without a technician at the screen there is nothing to read for: a report has no place
    // for live values, and the reader would wait for ever.
    if (!ctx.showsDialog()) return {};
    // The configuration file must be there, though the reader needs nothing from it.
    ReadDataPath(ctx, pickTextLiveData(kConfigNotFoundText, ctx.language()));
    ChannelReader(ctx, call, keptMaintenance(ctx)).run();
    return {};
}

}  // namespace corvan::vagchannels
