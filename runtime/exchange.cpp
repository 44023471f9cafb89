#include "runtime/exchange.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "platform/clock.h"
#include "platform/serial_port.h"
#include "runtime/host_services.h"
#include "ui/screen.h"

namespace corvan {

namespace {

struct Plan {
    int attempts = 4;
    int64_t waitMs = 0;
    int64_t pollMs = 50;
    bool pump = false;              // dispatch window messages before every read
    bool ask = true;                // ask the prompt after a silent cycle
    bool emptyRequestAsks = false;  // no request: go to the prompt decision, not return
    std::string prompt;
    bool waitDialog = false;
    bool attemptNumber = false;
    std::string status, title;
};

ui::DialogTemplate waitTemplate(const std::string& title, const std::string& status) {
    ui::DialogTemplate t;
    t.name = "WAIT";
    t.title = title;
    t.rect = {60, 80, 200, 70};
    ui::ControlSpec text;
    text.id = kWaitStatusId;
    text.kind = ui::ControlKind::Label;
    text.text = status;
    text.rect = {8, 8, 184, 20};
    ui::ControlSpec attempt;
    attempt.id = kWaitAttemptId;
    attempt.kind = ui::ControlKind::Label;
    attempt.rect = {8, 34, 184, 20};
    t.controls = {text, attempt};
    return t;
}

bool lost(const VarboxLink& link) {
    return link.port && link.port->lost();
}

// After the technician's Yes: a lost line is opened again before the next cycle.
void reopenIfLost(VarboxLink& link) {
    if (!lost(link)) return;
    const bool ok = link.port->reopen(nullptr);
    if (link.host && link.host->frames) link.host->frames->lineReopened(ok);
}

int run(VarboxLink& link, std::span<const uint8_t> request, std::span<uint8_t> reply,
        const Plan& plan) {
    Clock* clock = link.host ? link.host->clock : nullptr;
    ui::Screen* screen = link.host ? link.host->screen : nullptr;
    auto sleepMs = [clock](int64_t ms) {
        if (clock) clock->sleepMs(ms);
    };
    const int attempts = plan.attempts < 1 ? 1 : plan.attempts;
    for (;;) {
        std::unique_ptr<ui::Dialog> wait;
        if (plan.waitDialog && screen) {
            wait = screen->createDialog(waitTemplate(plan.title, plan.status));
            wait->setTitle(plan.title);
            wait->setText(kWaitStatusId, plan.status);
            wait->show(true);
        } else {
            sleepMs(plan.waitMs);
        }
        if (request.empty() && !plan.emptyRequestAsks) return 0;
        if (!request.empty()) {
            // A line known to be lost ends the cycle at once: no send can reach the box and
            // no reply can come, so the technician is asked straight away.
            for (int left = attempts; left >= 1 && !lost(link); --left) {
                if (wait && plan.attemptNumber) {
                    char number[16];
                    std::snprintf(number, sizeof number, "%i", left);
                    wait->setText(kWaitAttemptId, number);
                }
                SendFrame(link, request);
                for (int read = 0; read < kReadsPerSend && !lost(link); ++read) {
                    if (plan.pump && screen) screen->pumpMessages();
                    const int length = ReceiveFrame(link, reply);
                    if (length > 0) return length;
                    sleepMs(plan.pollMs);
                }
                if (!lost(link)) sleepMs(kPauseAfterReadsMs);
            }
        }
        wait.reset();
        if (!plan.ask || !screen) return 0;
        if (screen->messageBox(plan.prompt, "", ui::Buttons::YesNo, ui::Icon::Question) !=
            ui::Answer::Yes)
            return 0;
        reopenIfLost(link);
    }
}

}  // namespace

int64_t wholeMs(double value, double scale) {
    const double ms = value * scale;
    if (!(ms > 0)) return 0;
    // A day is far beyond any pause of the system; larger figures are data errors.
    constexpr double kLongest = 86400.0 * 1000;
    return static_cast<int64_t>(std::trunc(ms < kLongest ? ms : kLongest));
}

int Exchange(const ModuleContext& ctx, std::span<const uint8_t> request, std::span<uint8_t> reply,
             int attempts, double waitSeconds, double pollFactor, RetryPrompt prompt) {
    Plan plan;
    plan.attempts = attempts;
    plan.waitMs = wholeMs(waitSeconds, 1000);
    plan.pollMs = wholeMs(pollFactor, 50);
    plan.prompt =
        prompt == RetryPrompt::Fixed ? std::string(kNoResponseFixed) : ctx.pick(kNoResponseText);
    return run(ctx.link(), request, reply, plan);
}

int ExchangePumping(const ModuleContext& ctx, std::span<const uint8_t> request,
                    std::span<uint8_t> reply, int attempts, int waitMs, int pollMs,
                    std::string_view promptSwitch) {
    Plan plan;
    plan.attempts = attempts;
    plan.waitMs = waitMs;
    plan.pollMs = pollMs;
    plan.pump = true;
    plan.ask = !promptSwitch.empty();
    plan.emptyRequestAsks = true;
    plan.prompt = ctx.pick(kNoResponseText);
    return run(ctx.link(), request, reply, plan);
}

int Exchange(VarboxLink& link, std::span<const uint8_t> request, std::span<uint8_t> reply,
             const std::string& status, const std::string& title, int attempts, double waitSeconds,
             double pollFactor, bool attemptNumber, bool waitDialog) {
    Plan plan;
    plan.attempts = attempts;
    plan.waitMs = wholeMs(waitSeconds, 1000);
    plan.pollMs = wholeMs(pollFactor, 50);
    plan.prompt = std::string(kNoResponseFixed);
    plan.waitDialog = waitDialog;
    plan.attemptNumber = attemptNumber;
    plan.status = status;
    plan.title = title;
    return run(link, request, reply, plan);
}

}  // namespace corvan
