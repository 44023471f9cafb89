#include "plugins/identify/identification.h"

#include <array>
#include <vector>

#include "plugins/identify/id_records.h"
#include "plugins/identify/id_render.h"
#include "plugins/identify/identify_texts.h"
#include "runtime/exchange.h"
#include "runtime/module_dialog.h"
#include "runtime/param_text.h"
#include "runtime/result_text.h"
#include "runtime/write_journal.h"

namespace corvan::identify {

namespace {

constexpr std::string_view kAdditionalIdMark = "#ADITIONAL_ID";
constexpr std::string_view kResultHead = "[IDN]";

// The longest reply an identification expects; a longer frame counts as a bad one.
constexpr size_t kReplySize = 1024;

class Identification {
  public:
    Identification(const ModuleContext& ctx, const PluginCall& call)
        : ctx_(ctx),
          call_(call),
          records_(readIdRecords(call.text, call.start)),
          requests_(records_) {}

    std::string run();

  private:
    std::string rawValue(const IdRecord& record);
    std::string valueOf(const IdRecord& record);

    const ModuleContext& ctx_;
    const PluginCall& call_;
    std::vector<IdRecord> records_;
    RequestTable requests_;
    std::array<uint8_t, kReplySize> reply_{};
};

// The ECU's answer to the connection set-up, which the function menu appended to the text.
std::string initialId(std::string_view text) {
    const int at = findFrom(text, kAdditionalIdMark);
    return at < 0 ? std::string() : GetKeyValue(text, "ID=", at);
}

std::string Identification::rawValue(const IdRecord& record) {
    if (record.request == kInitialId) return initialId(call_.text);
    std::string* cached = requests_.reply(record.request);
    if (cached && !cached->empty()) return *cached;
    // Sent now; a request that got no reply is sent again by the next record using it.
    const int length = Exchange(ctx_, identificationRequest(record.request), reply_);
    std::string text = replyText(reply_, length);
    if (cached) *cached = text;
    return text;
}

std::string Identification::valueOf(const IdRecord& record) {
    if (ctx_.isDemo()) return ctx_.pick(kDemoValue);
    const std::string raw = rawValue(record);
    if (raw.empty()) return std::string(kUnknownValue);
    return renderValue(raw, record.start, record.count, record.format);
}

std::string Identification::run() {
    ModuleDialog dialog(ctx_, identifyTemplate(), ctx_.pick(kTitlePrefix), call_.name);
    ui::Dialog& d = dialog.dialog();
    d.setColumns(kListId,
                 {{ctx_.pick(kDescriptionHeading), 140}, {ctx_.pick(kInformationHeading), 165}});
    for (const IdRecord& r : records_) d.addRow(kListId, {r.label(), ""});

    ResultText result(kResultHead);
    for (size_t i = 0; i < records_.size(); ++i) {
        const std::string value = valueOf(records_[i]);
        d.setCell(kListId, static_cast<int>(i), 1, value);
        ctx_.pumpMessages();
        result.record(records_[i].id, records_[i].label(), value);
    }
    if (!ctx_.showsDialog()) return result.text();
    // The screen keeps its plain "[IDN]"; the host's session report gets the values shown.
    tellReportShown(ctx_.host(), call_.name, result.text());
    dialog.run([](const std::string&) { return true; });
    return std::string(kResultHead);
}

}  // namespace

ui::DialogTemplate identifyTemplate() {
    ui::DialogTemplate t;
    t.name = "IDENTIFY";
    t.rect = {0, 0, 320, 240};
    ui::ControlSpec list;
    list.id = kListId;
    list.kind = ui::ControlKind::ListView;
    list.rect = {4, 4, 312, 190};
    list.fullRowSelect = true;
    ui::ControlSpec exit;
    exit.id = kExitId;
    exit.kind = ui::ControlKind::Button;
    exit.text = std::string(kExitText);
    exit.rect = {110, 200, 100, 34};
    t.controls = {list, exit};
    t.exitControl = kExitId;
    return t;
}

std::string runIdentify(ModuleContext& ctx, const PluginCall& call) {
    return Identification(ctx, call).run();
}

}  // namespace corvan::identify
