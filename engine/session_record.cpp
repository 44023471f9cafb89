#include "engine/session_record.h"

#include <algorithm>

namespace corvan::engine {

namespace {

constexpr std::string_view kCodesHead = "[DTC]";
constexpr std::string_view kEraseHead = "[DEL]";

bool bare(const ReportSection& s) {
    return s.title.empty() && s.status.empty() && s.records.empty();
}

}  // namespace

int64_t SessionJournal::aboutToWrite(const JournalWrite& write) {
    SessionWrite entry;
    entry.time = clock_.civilNow();
    entry.vehicle = vehicle_;
    entry.write = write;
    writes_.push_back(std::move(entry));
    const auto id = static_cast<int64_t>(writes_.size());
    if (next_) nextIds_[id] = next_->aboutToWrite(write);
    return id;
}

void SessionJournal::answered(int64_t id, const std::string& answer, bool done) {
    // An id this journal never gave (a module's slip) changes nothing here or further on.
    if (id < 1 || id > static_cast<int64_t>(writes_.size())) return;
    SessionWrite& entry = writes_[static_cast<size_t>(id - 1)];
    entry.answered = true;
    entry.answer = answer;
    entry.done = done;
    if (const auto it = nextIds_.find(id); next_ && it != nextIds_.end())
        next_->answered(it->second, answer, done);
}

SessionRecord::SessionRecord(const Clock& clock, SessionVehicle vehicle)
    : clock_(clock),
      vehicle_(std::move(vehicle)),
      started_(clock.civilNow()),
      journal_(clock, vehicle_.selection) {}

void SessionRecord::keep(const std::string& source, const std::vector<ReportSection>& sections) {
    for (const ReportSection& section : sections)
        entries_.push_back({clock_.civilNow(), source, section});
}

void SessionRecord::pluginCalled(const std::string&, const PluginCall&) {
    frames_.emplace_back();
}

void SessionRecord::pluginReturned(const std::string& fileName, const PluginCall&,
                                   const std::string& result) {
    Frame frame;
    if (!frames_.empty()) {
        frame = std::move(frames_.back());
        frames_.pop_back();
    }
    if (!frames_.empty()) frames_.back().childResults.push_back(result);
    const auto& children = frame.childResults;
    if (std::find(children.begin(), children.end(), result) != children.end()) return;
    std::vector<ReportSection> sections = parseReportSections(result);
    std::erase_if(sections, [&](const ReportSection& s) {
        return bare(s) && std::find(frame.shownHeads.begin(), frame.shownHeads.end(), s.head) !=
                              frame.shownHeads.end();
    });
    keep(fileName, sections);
}

void SessionRecord::reportShown(const std::string& unit, const std::string& report) {
    std::vector<ReportSection> sections = parseReportSections(report);
    if (!frames_.empty())
        for (const ReportSection& s : sections) frames_.back().shownHeads.push_back(s.head);
    keep(unit, sections);
}

void SessionRecord::reportPassReturned(const std::string& report) {
    keep("REPORT", parseReportSections(report));
}

std::vector<EraseOutcome> SessionRecord::erases() const {
    std::vector<EraseOutcome> out;
    int lastCodes = -1;
    for (size_t i = 0; i < entries_.size(); ++i) {
        const ReportSection& s = entries_[i].section;
        if (s.head == kCodesHead) {
            if (!out.empty() && !out.back().after) {
                out.back().after = s;
                out.back().afterEntry = static_cast<int>(i);
            }
            lastCodes = static_cast<int>(i);
        } else if (s.head == kEraseHead && !s.status.empty()) {
            EraseOutcome erase;
            erase.time = entries_[i].time;
            erase.status = s.status;
            if (lastCodes >= 0) {
                erase.before = entries_[static_cast<size_t>(lastCodes)].section;
                erase.beforeEntry = lastCodes;
            }
            out.push_back(std::move(erase));
            lastCodes = -1;
        }
    }
    return out;
}

}  // namespace corvan::engine
