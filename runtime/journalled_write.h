#pragma once
// What a module does around a request that changes the vehicle: it tells the host's write
// journal what the unit held before and what goes out, sends, and tells the answer. A host
// without a journal, and a demonstration (nothing is sent), journal nothing.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "runtime/module_context.h"
#include "runtime/write_journal.h"

namespace corvan {

// The key a module's menu item carries when the journal screen calls the module to put a
// value back: the value the module pre-sets in its fields for the technician to write.
inline constexpr std::string_view kRestoreKey = "RESTORE=";

// "RESTORE=" of the module's own menu item; empty when it was called as the menu calls it.
std::string restorePreset(const PluginCall& call);

// The parameter text with "RESTORE=[preset]" put first into the menu item at `start`
// (its "<MNU"), so the module finds it with its own keys; the text as it is when `start`
// is not at a "<MNU" or the preset holds a bracket.
std::string withRestorePreset(std::string_view text, int start, std::string_view preset);

// A request whose last `secret` bytes are a PIN: the journal keeps "**" for each, so the
// card never holds the immobilizer's code.
std::string secretTail(std::span<const uint8_t> request, size_t secret);

// A reply as the journal keeps it: its first `length` bytes spaced, "no answer" for 0.
std::string replyText(std::span<const uint8_t> reply, int length);

class JournalledWrite {
  public:
    // Said before `request` is sent. `restore` is the value the module takes in "RESTORE="
    // to write `before` again (empty when it cannot).
    JournalledWrite(const ModuleContext& ctx, const PluginCall& call, std::string kind,
                    std::string before, std::string value, std::span<const uint8_t> request,
                    std::string restore = {});
    // The same with the request as the journal is to show it (see secretTail).
    JournalledWrite(const ModuleContext& ctx, const PluginCall& call, std::string kind,
                    std::string before, std::string value, std::string sent,
                    std::string restore = {});
    // A write the module left without telling its answer was given up: "no answer".
    ~JournalledWrite();
    JournalledWrite(const JournalledWrite&) = delete;
    JournalledWrite& operator=(const JournalledWrite&) = delete;

    // The reply frame's first `length` bytes, or "no answer" for 0.
    void reply(std::span<const uint8_t> reply, int length, bool done);
    void outcome(const std::string& answer, bool done);

  private:
    WriteJournal* journal_ = nullptr;
    int64_t id_ = 0;
};

}  // namespace corvan
