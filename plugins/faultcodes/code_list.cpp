#include "plugins/faultcodes/code_list.h"

#include "engine/dtcbase/dtc_client.h"
#include "plugins/faultcodes/code_list_texts.h"
#include "plugins/faultcodes/faultcodes_texts.h"
#include "runtime/run_plugin.h"
#include "runtime/write_journal.h"

namespace corvan::faultcodes {

namespace {

constexpr int64_t kPassMs = 500;
constexpr std::string_view kCodesHead = "[DTC]";

}  // namespace

ui::DialogTemplate codeListTemplate() {
    ui::DialogTemplate t;
    t.name = "DTCLIST";
    t.rect = {0, 0, 320, 240};
    ui::ControlSpec list = ui::makeControl(kListId, ui::ControlKind::ListView, {2, 2, 316, 118});
    list.fullRowSelect = true;
    ui::ControlSpec detail = ui::makeControl(kDetailId, ui::ControlKind::Edit, {2, 122, 316, 56});
    detail.readOnly = true;
    detail.multiLine = true;
    t.controls = {list,
                  detail,
                  ui::makeControl(kCountLabelId, ui::ControlKind::Label, {2, 182, 200, 16}),
                  ui::makeControl(kCountId, ui::ControlKind::Label, {204, 182, 40, 16}),
                  ui::makeControl(kEraseId, ui::ControlKind::Button, {2, 202, 150, 34}),
                  ui::makeControl(kExitId, ui::ControlKind::Button, {168, 202, 150, 34})};
    t.exitControl = kExitId;
    return t;
}

ShownCode shownCode(const TroubleCode& code, const ModuleContext& ctx) {
    ShownCode s{code.code, code.description, code.detail};
    const bool unidentified = code.description.find(kUnidentifiedMark) != std::string::npos;
    if (unidentified) s.description = ctx.pick(kUnidentified);
    if (!unidentified) s.detail = ctx.pick(kDetailMissing);
    const size_t frame = s.detail.find(kFrameMark);
    if (frame != std::string::npos) s.detail.resize(frame);
    return s;
}

std::optional<std::string> loadDefinitions(const ModuleContext& ctx, std::string_view dataPath,
                                           std::string_view fileName, bool tellWhenMissing) {
    dtc::FileContent file = dtc::readDtcFile(ctx, dataPath, fileName);
    switch (file.status) {
        case dtc::FileContent::Status::Missing:
            if (tellWhenMissing) ctx.messageBox(ctx.pick(kNoDefinition));
            return std::string();
        case dtc::FileContent::Status::NoMemory:
            ctx.messageBox(ctx.pick(kOutOfMemory));
            return std::nullopt;
        case dtc::FileContent::Status::Read:
            break;
    }
    dtc::DecodedText text = dtc::decodeWithLibrary(ctx, dataPath, std::move(file.bytes));
    switch (text.status) {
        case dtc::DecodedText::Status::LibraryMissing:
            ctx.messageBox(formatLoadError(ctx.pick(kLibraryLoadError), text.libraryPath));
            return std::nullopt;
        case dtc::DecodedText::Status::Rejected:
            return std::nullopt;
        case dtc::DecodedText::Status::Decoded:
            break;
    }
    return std::move(text.text);
}

CodeList::CodeList(const ModuleContext& ctx, std::string_view titlePrefix, std::string_view name)
    : ctx_(ctx), dialog_(ctx, codeListTemplate(), titlePrefix, name), name_(name) {
    ui::Dialog& d = dialog_.dialog();
    d.setColumns(kListId, {{ctx.pick(kCodeColumn), 50}, {ctx.pick(kDescriptionColumn), 256}});
    for (int i = 0; i < kListRows; ++i) d.addRow(kListId, {"", ""});
    d.setCell(kListId, 0, 0, ctx.pick(kSearching));
    if (ctx.showsDialog()) {
        d.setText(kEraseId, ctx.pick(kEraseButton));
        d.setText(kCountLabelId, ctx.pick(kCountLabel));
        d.setText(kExitId, ctx.pick(kExitText));
    }
    dialog_.bindButton(kEraseId, std::string(kEraseCommand));
    ui::DialogHandlers h;
    h.onRowTap = [this](int id, int row) {
        if (id == kListId) selected_ = row;
    };
    dialog_.setHandlers(std::move(h));
}

void CodeList::showRows(const std::vector<TroubleCode>& codes, bool first, std::string& records) {
    ui::Dialog& d = dialog_.dialog();
    if (first) d.clearRows(kListId);
    for (size_t i = 0; i < codes.size(); ++i) {
        const ShownCode s = shownCode(codes[i], ctx_);
        const int row = static_cast<int>(i);
        if (first) {
            d.addRow(kListId, {s.code, s.description});
            records += "@" + s.code + "|" + s.description + "|";
        } else {
            d.setCell(kListId, row, 0, s.code);
            d.setCell(kListId, row, 1, s.description);
        }
    }
}

std::string CodeList::run(const std::vector<TroubleCode>& codes) {
    ui::Dialog& d = dialog_.dialog();
    d.setText(kDetailId, ctx_.pick(kDetailPrompt));
    std::string records;
    for (bool first = true;; first = false) {
        ctx_.pumpMessages();
        const std::string word = dialog_.command();
        if (word == kExitCommand) break;
        if (word == kEraseCommand) {
            ctx_.messageBox(ctx_.pick(kEraseRefusedHere));
            dialog_.clearCommand();
        }
        d.setText(kCountId, std::to_string(codes.size()));
        if (codes.empty()) {
            if (first) {
                d.clearRows(kListId);
                d.addRow(kListId, {"", ctx_.pick(kNoCodes)});
            }
        } else {
            showRows(codes, first, records);
        }
        if (!ctx_.showsDialog()) dialog_.setCommand(std::string(kExitCommand));
        if (selected_ >= 0 && static_cast<size_t>(selected_) < codes.size()) {
            const ShownCode s = shownCode(codes[static_cast<size_t>(selected_)], ctx_);
            d.setText(kDetailId, s.code + " (" + codes[static_cast<size_t>(selected_)].kind +
                                     "): " + s.detail);
        }
        if (first && ctx_.showsDialog())
            tellReportShown(ctx_.host(), name_, std::string(kCodesHead) + records);
        ctx_.clock().sleepMs(kPassMs);
    }
    return ctx_.showsDialog() ? std::string() : records;
}

}  // namespace corvan::faultcodes
