#include "tools/boxservice/perf_test.h"

#include <cstdio>

#include "platform/clock.h"
#include "runtime/commands.h"
#include "tools/boxservice/service_dialogs.h"
#include "tools/boxservice/service_session.h"
#include "tools/boxservice/service_texts.h"
#include "ui/screen.h"

namespace corvan::boxservice {

namespace {

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

ui::DialogTemplate performanceTemplate() {
    ui::DialogTemplate t;
    t.name = "PRUEBA";
    t.title = std::string(text::kPerformanceTitle);
    t.rect = {0, 0, 320, 240};
    const std::string_view labels[] = {text::kTotalFrames,  text::kBadFrames, text::kErrorRate,
                                       text::kResponseTime, text::kMeanTime,  text::kSlowExchanges};
    for (int i = 0; i < 6; ++i) {
        ui::ControlSpec label;
        label.id = kTotalId - 100 + i;
        label.kind = ui::ControlKind::Label;
        label.text = std::string(labels[i]);
        label.rect = {8, 8 + 28 * i, 180, 22};
        ui::ControlSpec value;
        value.id = kTotalId + i;
        value.kind = ui::ControlKind::Label;
        value.rect = {192, 8 + 28 * i, 120, 22};
        t.controls.push_back(label);
        t.controls.push_back(value);
    }
    ui::ControlSpec cancel;
    cancel.id = kCancelId;
    cancel.kind = ui::ControlKind::Button;
    cancel.text = "Cancel";
    cancel.rect = {110, 190, 100, 34};
    t.controls.push_back(cancel);
    t.exitControl = kCancelId;
    return t;
}

void show(ui::Dialog& d, const EchoFigures& f) {
    d.setText(kTotalId, std::to_string(f.frames));
    d.setText(kBadId, std::to_string(f.bad));
    d.setText(kRateId, f.errorRateText());
    d.setText(kLastTimeId, f.lastTimeText());
    d.setText(kMeanTimeId, f.meanTimeText());
    d.setText(kSlowId, std::to_string(f.slow));
}

}  // namespace

void EchoFigures::add(int64_t us, bool good) {
    ++frames;
    if (!good) ++bad;
    if (us > kSlowExchangeUs) ++slow;
    lastUs = us;
    totalUs += us;
}

std::string EchoFigures::errorRateText() const {
    return format("%.5f %%", frames ? 100.0 * bad / frames : 0.0);
}

std::string EchoFigures::lastTimeText() const {
    return format("%.5f seg.", lastUs / 1e6);
}

std::string EchoFigures::meanTimeText() const {
    return format("%.3f seg.", frames ? totalUs / 1e6 / frames : 0.0);
}

bool echoReplyGood(std::span<const uint8_t> reply, int length) {
    if (length < 4 || size_t(length) > reply.size()) return false;
    uint8_t x = 0;
    for (int i = 0; i + 1 < length; ++i) x ^= reply[size_t(i)];
    return x == reply[size_t(length - 1)];
}

EchoFigures runPerformanceTest(PortSession& session) {
    ui::Screen& screen = session.screen();
    Clock& clock = session.clock();
    auto dialog = screen.createDialog(performanceTemplate());
    ui::Dialog& d = *dialog;
    d.setTitle(std::string(text::kPerformanceTitle));
    ui::DialogHandlers h;
    h.onButton = [&d](int id) {
        if (id == kCancelId) d.setCommand("CANCEL");
    };
    h.onClose = [&d] { d.setCommand("CANCEL"); };
    d.setHandlers(h);
    d.show(true);

    const auto echo = cmd::driverNameRequest(false);  // 00 00 0F
    BoxExchange how;
    how.waitSeconds = 0.0;
    how.waitDialog = false;
    EchoFigures figures;
    while (figures.frames < kMaxEchoExchanges) {
        screen.pumpMessages();
        if (!d.command().empty()) break;
        const int64_t start = clock.nowUs();
        const int length = session.exchange(echo, how);
        const int64_t took = clock.nowUs() - start;
        if (length == 0) break;
        figures.add(took, echoReplyGood(session.reply(), length));
        show(d, figures);
    }
    // The figures stay for the technician to read until he leaves.
    while (d.command().empty()) {
        screen.pumpMessages();
        if (d.command().empty()) clock.sleepMs(kIdleRestMs);
    }
    d.setHandlers({});
    d.show(false);
    return figures;
}

}  // namespace corvan::boxservice
