#include "plugins/faultcodes/self_test.h"

#include <array>
#include <vector>

#include "plugins/faultcodes/code_list.h"
#include "plugins/faultcodes/code_list_texts.h"
#include "plugins/faultcodes/faultcodes_texts.h"
#include "plugins/faultcodes/self_test_protocol.h"
#include "runtime/data_path.h"
#include "runtime/exchange.h"
#include "runtime/journalled_write.h"
#include "runtime/param_text.h"

namespace corvan::faultcodes {

namespace {

constexpr std::string_view kEraseMode = "DEL";
constexpr std::string_view kCodesHead = "[DTC]";
constexpr std::string_view kErasedOk = "[DEL]@OK";
constexpr std::string_view kErasedKo = "[DEL]@KO";

// The watch loop: a counter from 0 in steps of 95 up to 5700 (60 rounds, 500 ms each);
// the Stop button is enabled once it passed 950.
constexpr int kWatchStep = 95;
constexpr int kWatchEnd = 5700;
constexpr int kStopAfter = 950;

// The codes the self-test found, as the journal keeps them before an erase.
std::string codeNumbers(const std::vector<TroubleCode>& codes) {
    std::string out;
    for (const TroubleCode& c : codes) out += (out.empty() ? "" : " ") + c.code;
    return out.empty() ? std::string("no codes") : out;
}

class SelfTest {
  public:
    SelfTest(ModuleContext& ctx, const PluginCall& call) : ctx_(ctx), call_(call) {}
    std::string run();

  private:
    int send(const std::vector<uint8_t>& request) { return Exchange(ctx_, request, reply_); }
    // False when the unit refused the results (the technician was told).
    bool runTest(uint8_t routine);

    ModuleContext& ctx_;
    const PluginCall& call_;
    std::array<uint8_t, 260> reply_{};
    std::vector<TroubleCode> codes_;
    std::string definitions_;
};

bool SelfTest::runTest(uint8_t routine) {
    ModuleDialog progress(ctx_, progressTemplate(), ctx_.pick(kProgressTitle), "");
    ui::Dialog& p = progress.dialog();
    p.setText(kStopId, ctx_.pick(kStopText));
    p.setRange(kProgressId, 0, 100);
    p.setEnabled(kStopId, false);
    progress.bindButton(kStopId, std::string(kStopCommand));
    // Erasing comes from the trouble-code menu with the technician at the screen: the test
    // that runs before it shows its progress too.
    if (ctx_.mode() == kEraseMode) p.show(true);

    for (int i = 0; i < 5; ++i) {
        p.setProgress(kProgressId, i);
        send(preReadRequest());
        ctx_.clock().sleepMs(500);
    }
    ctx_.clock().sleepMs(1000);
    for (int i = 0; i < 2; ++i) {
        send(startRequest(routine));
        ctx_.clock().sleepMs(500);
    }
    int k = 0;
    do {
        ctx_.pumpMessages();
        if (k > kStopAfter) p.setEnabled(kStopId, true);
        p.setProgress(kProgressId, k / 60 + 5);
        send(watchRequest(routine));
        ctx_.clock().sleepMs(500);
        k += kWatchStep;
    } while (k < kWatchEnd && progress.command() != kStopCommand);
    progress.dialog().show(false);

    reply_.fill(0);
    const int length = send(resultsRequest(routine));
    if (resultsRefused(reply_, length)) {
        ctx_.messageBox(ctx_.pick(kTestFailed));
        return false;
    }
    codes_ = resultCodes(reply_, length, definitions_);
    return true;
}

std::string SelfTest::run() {
    if (ctx_.messageBox(ctx_.pick(kWarningQuestion), ui::Buttons::YesNo, ui::Icon::Warning) !=
        ui::Answer::Yes)
        return {};
    const std::vector<uint8_t> erase = eraseRequest(GetKeyValue(call_.text, "ERASE=", call_.start));
    const std::string file = GetKeyValue(call_.text, "FILE=", call_.start);
    const std::string dataPath = ReadDataPath(ctx_);
    auto definitions = loadDefinitions(ctx_, dataPath, file, ctx_.isDemo());
    if (!definitions) return {};
    definitions_ = std::move(*definitions);

    const bool running = ctx_.messageBox(ctx_.pick(kEngineQuestion), ui::Buttons::YesNo,
                                         ui::Icon::Question) == ui::Answer::Yes;
    const uint8_t routine = running ? kRoutineEngineRunning : kRoutineEngineStopped;
    if (!ctx_.isDemo() && !runTest(routine)) return {};

    CodeList list(ctx_, ctx_.pick(kTitlePrefix), call_.name);
    std::string result;
    if (!ctx_.showsDialog()) result = kCodesHead;
    // Erasing changes the vehicle: only the trouble-code menu asks for it, with "DEL".
    if (ctx_.mode() == kEraseMode) {
        if (erase.empty()) return ctx_.pick(kEraseRefusedHere);
        // A missing answer must never read as the answer of an earlier request.
        reply_.fill(0);
        JournalledWrite journalled(ctx_, call_, "erase", codeNumbers(codes_), "", erase);
        const int length = send(erase);
        const bool accepted = eraseAccepted(erase, reply_, length);
        journalled.reply(reply_, length, accepted);
        return std::string(accepted ? kErasedOk : kErasedKo);
    }
    result += list.run(codes_);
    return result;
}

}  // namespace

ui::DialogTemplate progressTemplate() {
    ui::DialogTemplate t;
    t.name = "SELFTEST";
    t.rect = {30, 80, 260, 80};
    t.controls = {ui::makeControl(kProgressId, ui::ControlKind::Progress, {10, 8, 240, 20}),
                  ui::makeControl(kStopId, ui::ControlKind::Button, {80, 36, 100, 34})};
    return t;
}

std::string runFaultCodes(ModuleContext& ctx, const PluginCall& call) {
    return SelfTest(ctx, call).run();
}

}  // namespace corvan::faultcodes
