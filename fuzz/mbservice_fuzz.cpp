// Random service scripts against a fake box. The input is the script text up to its first
// NUL byte; the bytes after it decide everything else: the mode, what the box answers to
// each request (a reply with random data, the box's "no ECU answer", silence, a bad check
// byte, garbage), the technician's answers to the message boxes and what he does in the
// choice list, the text input and the code entry. When they run out the box falls silent
// and every question gets its default answer, so each run ends.
//
// A script may loop for minutes on purpose, so a run is bounded to a number of statements;
// a run that keeps pumping the screens past that (a window that never closes) aborts.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/memory_port.h"
#include "plugins/mbservice/interpreter.h"
#include "plugins/mbservice/script_text.h"
#include "plugins/mbservice/script_windows.h"
#include "runtime/frame.h"
#include "runtime/host_services.h"
#include "ui/headless_screen.h"

namespace {

using namespace corvan;

constexpr long kStatementsPerRun = 2000;

// Reassembles the request frames the interpreter writes byte by byte and answers each one
// as the fuzz data says.
class FakeBox final : public ByteDevice {
  public:
    explicit FakeBox(FuzzedDataProvider& data) : data_(data) {}

    void received(std::span<const uint8_t> bytes, int64_t nowUs, ByteQueue& out) override {
        for (uint8_t b : bytes) {
            pending_.push_back(b);
            if (pending_.size() >= 3 &&
                pending_.size() == frame::dataLength(pending_[0], pending_[1]) + 4) {
                answer(pending_[2], nowUs, out);
                pending_.clear();
            }
        }
    }

  private:
    void answer(uint8_t command, int64_t nowUs, ByteQueue& out) {
        std::vector<uint8_t> reply;
        switch (data_.ConsumeIntegralInRange<int>(0, 7)) {
            case 0:  // silence: the exchange re-sends and then asks the technician
                return;
            case 1:
                reply = frame::build(0x0A, {}, false);  // no ECU answer
                break;
            case 2: {  // line garbage
                reply = data_.ConsumeBytes<uint8_t>(data_.ConsumeIntegralInRange<size_t>(0, 64));
                break;
            }
            default: {
                std::vector<uint8_t> d =
                    data_.ConsumeBytes<uint8_t>(data_.ConsumeIntegralInRange<size_t>(0, 300));
                if (command == 0x20) d.insert(d.begin(), 0x00);
                reply = frame::build(command, d, true);
                if (data_.ConsumeIntegralInRange<int>(0, 15) == 0) reply.back() ^= 0x5A;
                break;
            }
        }
        for (uint8_t b : reply) out.push(b, nowUs);
    }

    FuzzedDataProvider& data_;
    std::vector<uint8_t> pending_;
};

// The technician: boxes answered, windows worked, from the fuzz data.
class FuzzScreen final : public ui::HeadlessScreen {
  public:
    FuzzScreen(FuzzedDataProvider& data, ui::ScriptLimits limits)
        : HeadlessScreen(ui::TechnicianScript{}, limits), data_(data) {
        setRunawayHandler([](const ui::RunReport&) { std::abort(); });
        setPumpHook([this](ui::HeadlessScreen& s) { act(s); });
    }
    ui::Answer messageBox(const std::string& text, const std::string& title, ui::Buttons buttons,
                          ui::Icon icon) override {
        HeadlessScreen::messageBox(text, title, buttons, icon);
        const int pick = data_.ConsumeIntegralInRange<int>(0, 3);
        switch (buttons) {
            case ui::Buttons::Ok:
                return ui::Answer::Ok;
            case ui::Buttons::YesNo:
                return pick == 1 ? ui::Answer::Yes : ui::Answer::No;
            case ui::Buttons::YesNoCancel:
                return pick == 1   ? ui::Answer::Yes
                       : pick == 2 ? ui::Answer::No
                                   : ui::Answer::Cancel;
            case ui::Buttons::RetryCancel:
                return pick == 1 ? ui::Answer::Retry : ui::Answer::Cancel;
        }
        return ui::Answer::Cancel;
    }

  private:
    void act(ui::HeadlessScreen& s) {
        ui::HeadlessDialog* d = s.topDialog();
        if (!d || d->name() == mbservice::kMessageWindowName) return;
        if (d->name() == mbservice::kChoiceWindowName) {
            const int rows = d->rowCount(mbservice::kChoiceListId);
            if (rows > 0)
                d->tapRow(mbservice::kChoiceListId, data_.ConsumeIntegralInRange(0, rows - 1));
        } else {
            const std::string typed = data_.ConsumeRandomLengthString(24);
            for (int field : {mbservice::kTextFieldId, mbservice::kCodeAlphaFieldId,
                              mbservice::kCodeDigitsFieldId})
                d->typeText(field, typed);
        }
        d->press(data_.ConsumeBool() ? mbservice::kOkId : mbservice::kCancelId);
    }

    FuzzedDataProvider& data_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const uint8_t* end = std::find(bytes, bytes + size, 0);
    std::string script(reinterpret_cast<const char*>(bytes), size_t(end - bytes));
    FuzzedDataProvider data(end == bytes + size ? end : end + 1,
                            size_t(bytes + size - (end == bytes + size ? end : end + 1)));

    std::string text = script;
    int start = 0;
    if (script.find(mbservice::kScriptMark) == std::string::npos) {
        text =
            "#CONFIGURATION\r\n\tDLL=\t[LOGIN.DLL]\r\n\tEND=\t[8210]\r\n#MENU\r\n<MNU\r\n"
            "\tDLL=\t[MBSERVICE.DLL]\r\n#INTERPRETE\r\n{\r\n" +
            script + "\r\n}\r\nENDDATA\r\n>\r\n#END\r\n";
        start = int(text.find("<MNU"));
    }
    const std::string mode = data.ConsumeBool() ? "DEMO" : "EXE";

    VirtualClock clock;
    ui::ScriptLimits limits;
    limits.abandonAfter = 4;
    limits.idleCloseAfter = 4;
    limits.maxPumps = 40 * kStatementsPerRun + 100000;
    FuzzScreen screen(data, limits);
    FakeBox box(data);
    MemoryPort port(clock, box);
    HostServices host;
    host.clock = &clock;
    host.screen = &screen;
    VarboxLink link;
    link.port = &port;
    link.host = &host;

    mbservice::ScriptState state;
    const ModuleContext ctx(link, 1, mode);
    mbservice::RunLimits runLimits;
    runLimits.maxStatements = kStatementsPerRun;
    mbservice::runScript(ctx, PluginCall{text, start, mode, "FUZZ"}, state, runLimits);
    // The script's own texts never outgrow what the statements allow.
    if (state.stack.size() > mbservice::kStackEntries) std::abort();
    return 0;
}
