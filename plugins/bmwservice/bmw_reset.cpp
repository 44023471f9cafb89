#include "plugins/bmwservice/bmw_reset.h"

#include <memory>

#include "plugins/bmwservice/bmw_texts.h"
#include "plugins/bmwservice/reset_line.h"
#include "runtime/commands.h"
#include "runtime/journal_record.h"
#include "runtime/journalled_write.h"
#include "runtime/module_dialog.h"

namespace corvan::bmwservice {

namespace {

constexpr int kStepMs = 10;

// One reset: the chosen output on for `seconds`, the bar running meanwhile. The main
// window stays live: a press during the reset is there for the loop when it ends.
void holdResetLine(const ModuleContext& ctx, const PluginCall& call, RegisterLine& line,
                   uint8_t output, int seconds) {
    std::unique_ptr<ui::Dialog> window = ctx.screen().createDialog(progressTemplate());
    window->setTitle(ctx.pick(kTitle));
    window->setText(kProgressTextId, ctx.pick(kProgressText));
    window->setRange(kProgressBarId, 0, 100);
    window->show(true);
    uint8_t outputs = 0;
    if (!ctx.isDemo()) {
        const uint8_t before = line.read(kOutputs);
        outputs = before | output;
        // The counter is reset by the line held on, not by one request: the journal keeps
        // the switching on, with the outputs register as it stood.
        JournalledWrite journalled(ctx, call, "service", "outputs register " + spacedHex({before}),
                                   "reset line on for " + std::to_string(seconds) + " s",
                                   cmd::writeRegisterRequest(kOutputs, outputs));
        const int length = line.write(kOutputs, outputs);
        journalled.reply(line.reply(), length, length > 0);
    }
    const int steps = seconds * kStepsPerSecond;
    for (int i = 0; i < steps; ++i) {
        window->setProgress(kProgressBarId, i * 100 / steps);  // the last step shows 99
        ctx.pumpMessages();
        ctx.clock().sleepMs(kStepMs);
    }
    if (!ctx.isDemo()) line.write(kOutputs, outputs & ~output);
    window->show(false);
}

}  // namespace

ui::DialogTemplate mainTemplate(int language) {
    ui::DialogTemplate t;
    t.name = std::string(kMainWindowName);
    t.rect = {0, 0, 320, 240};
    t.controls = {
        ui::makeControl(kOilId, ui::ControlKind::Button, {30, 36, 260, 48},
                        PickText(kOilButton, language)),
        ui::makeControl(kInspectionId, ui::ControlKind::Button, {30, 100, 260, 48},
                        PickText(kInspectionButton, language)),
        ui::makeControl(kExitId, ui::ControlKind::Button, {110, 176, 100, 34},
                        PickText(kExitButton, language)),
    };
    t.exitControl = kExitId;
    return t;
}

ui::DialogTemplate progressTemplate() {
    ui::DialogTemplate t;
    t.name = std::string(kProgressWindowName);
    t.rect = {30, 80, 260, 80};
    t.controls = {ui::makeControl(kProgressTextId, ui::ControlKind::Label, {10, 10, 240, 20}),
                  ui::makeControl(kProgressBarId, ui::ControlKind::Progress, {10, 40, 240, 16})};
    return t;
}

std::string runBmwService(ModuleContext& ctx, const PluginCall& call) {
    ModuleDialog main(ctx, mainTemplate(ctx.language()), ctx.pick(kTitle), "");
    main.bindButton(kOilId, "OIL");
    main.bindButton(kInspectionId, "INSP");
    // The technician works this window whatever the mode word says.
    main.dialog().show(true);
    RegisterLine line(ctx);
    const uint8_t output = ctx.isDemo() ? kOutputB : checkResetOutput(line);
    main.run([&](const std::string& word) {
        if (word != "OIL" && word != "INSP") return true;
        main.clearCommand();
        holdResetLine(ctx, call, line, output, word == "OIL" ? kOilSeconds : kInspectionSeconds);
        // Not done with the word: a press during the reset set it again for the next pass.
        return false;
    });
    return {};
}

}  // namespace corvan::bmwservice
