#include "runtime/journalled_write.h"

#include <algorithm>
#include <vector>

#include "runtime/journal_record.h"
#include "runtime/param_text.h"

namespace corvan {

namespace {
constexpr std::string_view kNoAnswer = "no answer";
constexpr std::string_view kItemMark = "<MNU";
}  // namespace

std::string restorePreset(const PluginCall& call) {
    return GetKeyValue(call.text, kRestoreKey, call.start);
}

std::string withRestorePreset(std::string_view text, int start, std::string_view preset) {
    std::string out(text);
    if (start < 0 || preset.find_first_of("[]") != std::string_view::npos ||
        text.substr(std::min(static_cast<size_t>(start), text.size()))
                .substr(0, kItemMark.size()) != kItemMark)
        return out;
    out.insert(static_cast<size_t>(start) + kItemMark.size(),
               "\r\n\t" + std::string(kRestoreKey) + "\t[" + std::string(preset) + "]");
    return out;
}

std::string secretTail(std::span<const uint8_t> request, size_t secret) {
    const size_t shown = request.size() > secret ? request.size() - secret : 0;
    std::string out = spacedHex(std::vector<uint8_t>(request.begin(), request.begin() + shown));
    for (size_t i = shown; i < request.size(); ++i) out += out.empty() ? "**" : " **";
    return out;
}

JournalledWrite::JournalledWrite(const ModuleContext& ctx, const PluginCall& call, std::string kind,
                                 std::string before, std::string value,
                                 std::span<const uint8_t> request, std::string restore)
    : JournalledWrite(ctx, call, std::move(kind), std::move(before), std::move(value),
                      spacedHex(std::vector<uint8_t>(request.begin(), request.end())),
                      std::move(restore)) {}

JournalledWrite::JournalledWrite(const ModuleContext& ctx, const PluginCall& call, std::string kind,
                                 std::string before, std::string value, std::string sent,
                                 std::string restore) {
    if (ctx.isDemo() || !ctx.host().journal) return;
    JournalWrite w;
    w.kind = std::move(kind);
    w.unit = call.name;
    w.before = std::move(before);
    w.value = std::move(value);
    w.sent = std::move(sent);
    if (!restore.empty()) {
        w.module = GetKeyValue(call.text, "DLL=", call.start);
        w.item = GetKeyValue(call.text, "ID=", call.start);
        w.restore = std::move(restore);
    }
    journal_ = ctx.host().journal;
    id_ = journal_->aboutToWrite(w);
}

JournalledWrite::~JournalledWrite() {
    if (journal_) journal_->answered(id_, std::string(kNoAnswer), false);
}

std::string replyText(std::span<const uint8_t> reply, int length) {
    const size_t n = std::min(reply.size(), static_cast<size_t>(std::max(length, 0)));
    return n ? spacedHex(std::vector<uint8_t>(reply.begin(), reply.begin() + n))
             : std::string(kNoAnswer);
}

void JournalledWrite::reply(std::span<const uint8_t> reply, int length, bool done) {
    outcome(replyText(reply, length), done);
}

void JournalledWrite::outcome(const std::string& answer, bool done) {
    if (!journal_) return;
    journal_->answered(id_, answer, done);
    journal_ = nullptr;
}

}  // namespace corvan
