#include "plugins/actuators/actuator_test.h"

#include <array>
#include <cstdio>

#include "engine/dtcbase/definition_text.h"
#include "engine/dtcbase/dtc_client.h"
#include "plugins/actuators/actuator_protocol.h"
#include "plugins/actuators/actuators_texts.h"
#include "plugins/faultcodes/faultcodes_texts.h"
#include "runtime/commands.h"
#include "runtime/data_path.h"
#include "runtime/exchange.h"
#include "runtime/module_dialog.h"
#include "runtime/param_text.h"
#include "runtime/run_plugin.h"

namespace corvan::actuators {

namespace {

constexpr int kProgressPositions[] = {0, 25, 50, 75};

class ActuatorTest {
  public:
    ActuatorTest(ModuleContext& ctx, const PluginCall& call) : ctx_(ctx), call_(call) {}
    std::string run();

  private:
    // The reply buffer keeps what the last answered request left in it: a request the unit
    // leaves unanswered is judged by those bytes.
    void send(Step step) { Exchange(ctx_, stepRequest(step, target_), reply_); }
    void test(ModuleDialog& window);
    bool cycleEnded(const ModuleDialog& window) const {
        return window.command() == kNextCommand || window.command() == kExitCommand;
    }
    void progressCycle(ModuleDialog& window);

    ModuleContext& ctx_;
    const PluginCall& call_;
    std::array<uint8_t, 260> reply_{};
    uint8_t target_ = 0;
    std::string data_;  // the description file's text
};

void ActuatorTest::progressCycle(ModuleDialog& window) {
    ui::Dialog& d = window.dialog();
    do {
        for (int position : kProgressPositions) {
            ctx_.pumpMessages();
            if (cycleEnded(window)) return;
            ctx_.clock().sleepMs(50);
            d.setProgress(kProgressId, position);
            send(Step::Read);
            const bool working = busy(reply_);
            d.setEnabled(kNextId, !working);
            d.setText(kNextId, ctx_.pick(working ? kWaitText : kNextText));
        }
    } while (!cycleEnded(window));
}

void ActuatorTest::test(ModuleDialog& window) {
    ui::Dialog& d = window.dialog();
    send(Step::Prepare);
    send(Step::Start);
    if (!accepted(reply_)) {
        ctx_.messageBox(ctx_.pick(kCannotStart));
        return;
    }
    bool anyRead = false;
    for (;;) {
        int code = 0;
        std::string description;
        send(Step::Read);
        if (accepted(reply_)) {
            code = actuatorCode(reply_);
            send(Step::Advance);
            // Code 0: the unit was not on an actuator yet; after the advance it is.
            if (code == 0) {
                send(Step::Read);
                code = actuatorCode(reply_);
            }
            const auto entry = dtc::findActuator(data_, code);
            description = entry ? entry->description : ctx_.pick(kUnknownActuator);
            d.setProgress(kProgressId, 5);
            anyRead = true;
        } else {
            ctx_.messageBox(ctx_.pick(anyRead ? kFinished : kCannotStart));
            window.setCommand(std::string(kExitCommand));
        }
        ctx_.pumpMessages();
        if (window.command() == kExitCommand) return;
        char shown[16];
        std::snprintf(shown, sizeof shown, "%.5i", code);
        d.setCell(kListId, 0, 0, shown);
        d.setCell(kListId, 0, 1, description);
        progressCycle(window);
        if (code == kEndCode) {
            window.setCommand(std::string(kExitCommand));
        } else if (window.command() == kNextCommand) {
            send(Step::Advance);
            window.clearCommand();
        }
        if (window.command() == kExitCommand) return;
    }
}

std::string ActuatorTest::run() {
    const std::string dataPath = ReadDataPath(ctx_);
    // The demonstration runs without a box: nothing is asked of it.
    if (!ctx_.isDemo()) {
        const int length = Exchange(ctx_, cmd::readKeepAliveRequest(), reply_);
        target_ = targetAddress(reply_, length);
    }
    dtc::FileContent file =
        dtc::readDtcFile(ctx_, dataPath, GetKeyValue(call_.text, "FILE=", call_.start));
    if (file.status == dtc::FileContent::Status::Missing) {
        ctx_.messageBox(formatLoadError(ctx_.pick(kFileMissing), file.devicePath));
        return {};
    }
    if (file.status == dtc::FileContent::Status::NoMemory) {
        ctx_.messageBox(ctx_.pick(faultcodes::kOutOfMemory));
        return {};
    }
    if (ctx_.isDemo()) {
        ctx_.messageBox(ctx_.pick(kNoDemo));
        return {};
    }
    dtc::DecodedText text = dtc::decodeWithLibrary(ctx_, dataPath, std::move(file.bytes));
    if (text.status == dtc::DecodedText::Status::LibraryMissing) {
        ctx_.messageBox(
            formatLoadError(ctx_.pick(faultcodes::kLibraryLoadError), text.libraryPath));
        return {};
    }
    // A file the library refused holds no descriptions: every actuator shows as unknown.
    data_ = std::move(text.text);

    ModuleDialog window(ctx_, actuatorTemplate(), ctx_.pick(kTitlePrefix), call_.name);
    ui::Dialog& d = window.dialog();
    d.setColumns(kListId, {{ctx_.pick(kCodeColumn), 60}, {ctx_.pick(kDescriptionColumn), 246}});
    d.addRow(kListId, {"", ""});
    d.setText(kNextId, ctx_.pick(kNextText));
    d.setText(kExitId, ctx_.pick(kExitText));
    d.setRange(kProgressId, 0, 100);
    window.bindButton(kNextId, std::string(kNextCommand));
    window.clearCommand();
    test(window);
    send(Step::Stop);
    return {};
}

}  // namespace

ui::DialogTemplate actuatorTemplate() {
    ui::DialogTemplate t;
    t.name = "ACTUATORS";
    t.rect = {0, 0, 320, 240};
    t.controls = {ui::makeControl(kListId, ui::ControlKind::ListView, {4, 4, 312, 60}),
                  ui::makeControl(kProgressId, ui::ControlKind::Progress, {4, 80, 312, 24}),
                  ui::makeControl(kNextId, ui::ControlKind::Button, {4, 196, 150, 40}),
                  ui::makeControl(kExitId, ui::ControlKind::Button, {166, 196, 150, 40})};
    t.exitControl = kExitId;
    return t;
}

std::string runActuators(ModuleContext& ctx, const PluginCall& call) {
    return ActuatorTest(ctx, call).run();
}

}  // namespace corvan::actuators
