#pragma once
// One request and its reply on the Varbox line, with re-sends, pauses and the question to
// the technician whether to try again. Returns the reply length L + 4, or 0 when no good
// reply came and the technician declined (or was not asked).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "runtime/module_context.h"
#include "runtime/text_table.h"
#include "runtime/varbox_io.h"

namespace corvan {

// The retry question most modules ask, by language.
inline constexpr TextTable kNoResponseText = {
    "No hay respuesta del VarBox\n¿REINTENTAR?",
    "No response from VarBox\nRETRY?",
    "VarBox antwortet nicht.\nNeuen Versuch starten?",
    "No hay respuesta del VarBox\n¿REINTENTAR?",
    "No response from VarBox\nRETRY?",
    "NÃO HA RESPOSTA DA VARBOX \nREPETIR?",
};
// The question of the modules that ask in Spanish only, in every language.
inline constexpr std::string_view kNoResponseFixed = "No hay respuesta del terminal \n¿REINTENTAR?";

enum class RetryPrompt { Multilingual, Fixed };

// Reads of the reply per send, and the extra pause after the last of them.
inline constexpr int kReadsPerSend = 15;
inline constexpr int kPauseAfterReadsMs = 10;

// Whole milliseconds of a pause given in seconds (× 1000) or as a poll factor (× 50),
// computed in floating point and truncated; anything not positive (or not a number) is 0.
int64_t wholeMs(double value, double scale);

// The plug-in form: sleep `waitSeconds`, then up to `attempts` byte-wise sends, each followed
// by up to 15 reads `pollFactor` × 50 ms apart and 10 ms more; after a silent cycle ask the
// chosen prompt (Yes/No) and start over on Yes. An empty `request` only pauses (returns 0).
int Exchange(const ModuleContext& ctx, std::span<const uint8_t> request, std::span<uint8_t> reply,
             int attempts = 4, double waitSeconds = 0.0, double pollFactor = 1.0,
             RetryPrompt prompt = RetryPrompt::Multilingual);

// The pumping form (box start-up, service reset): pauses in whole milliseconds, window
// messages dispatched before every read; the multilingual prompt is asked only when
// `promptSwitch` is not empty (otherwise a silent cycle returns 0 at once); an empty
// `request` goes straight to that decision.
int ExchangePumping(const ModuleContext& ctx, std::span<const uint8_t> request,
                    std::span<uint8_t> reply, int attempts, int waitMs, int pollMs,
                    std::string_view promptSwitch);

// The service program's form, with the fixed prompt. With `waitDialog` a small wait dialog
// titled `title` with `status` in its text field stands instead of the pause at the start
// of each cycle; with `attemptNumber` too it shows the sends left in the cycle ("%i",
// counting down to 1). The link must carry the host's clock and screen.
int Exchange(VarboxLink& link, std::span<const uint8_t> request, std::span<uint8_t> reply,
             const std::string& status, const std::string& title, int attempts, double waitSeconds,
             double pollFactor, bool attemptNumber, bool waitDialog);

// Control identifiers of the wait dialog.
inline constexpr int kWaitStatusId = 1001;
inline constexpr int kWaitAttemptId = 1002;

}  // namespace corvan
