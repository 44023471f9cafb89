#include "plugins/journal/journal_screen.h"

#include <algorithm>
#include <vector>

#include "plugins/journal/journal_texts.h"
#include "plugins/journal/journal_view.h"
#include "runtime/data_path.h"
#include "runtime/journalled_write.h"
#include "runtime/module_dialog.h"
#include "runtime/run_plugin.h"

namespace corvan::journal {

namespace {

using ui::makeControl;

constexpr std::string_view kRestoreCommand = "RESTORE";
constexpr TextTable kLoadError = {
    "Error en carga de DLL %s", "Load Error, DLL %s", "Fehler beim Laden der DLL %s",
    "Error en carga de DLL %s", "Load Error, DLL %s", "ERRO NA CARREGAMENTO DO DLL %s",
};

class JournalScreen {
  public:
    JournalScreen(ModuleContext& ctx, const PluginCall& call, WriteJournal& journal)
        : ctx_(ctx),
          call_(call),
          journal_(journal),
          window_(ctx, journalTemplate(), ctx.pick(kTitlePrefix), call.name),
          d_(window_.dialog()) {}

    void run() {
        d_.setColumns(kListId, {{ctx_.pick(kTimeHeading), 92},
                                {ctx_.pick(kKindHeading), 66},
                                {ctx_.pick(kValueHeading), 112},
                                {ctx_.pick(kResultHeading), 36}});
        d_.setText(kRestoreId, ctx_.pick(kRestoreButton));
        d_.setText(kExitId, ctx_.pick(kExitButton));
        window_.bindButton(kRestoreId, std::string(kRestoreCommand));
        fill();
        window_.run(
            [this](const std::string& word) {
                if (word == kRestoreCommand) restore();
                return true;
            },
            [this] { showSelected(); });
    }

  private:
    void fill() {
        entries_ = journal_.entries();
        // Newest first: the write the technician just made is the one looked for.
        std::reverse(entries_.begin(), entries_.end());
        d_.clearRows(kListId);
        for (const JournalEntry& e : entries_) d_.addRow(kListId, rowCells(e, ctx_.language()));
        shownRow_ = -2;
        if (!entries_.empty()) d_.selectRow(kListId, 0);
        showSelected();
    }

    void showSelected() {
        const int row = d_.selectedRow(kListId);
        if (row == shownRow_) return;
        shownRow_ = row;
        const JournalEntry* e = selected();
        d_.setText(kDetailId, e ? detailText(*e, ctx_.language()) : ctx_.pick(kEmpty));
        d_.setEnabled(kRestoreId, e && restorePosition(*e, call_.text, call_.name) >= 0);
    }

    const JournalEntry* selected() const {
        const int row = d_.selectedRow(kListId);
        return row >= 0 && row < static_cast<int>(entries_.size()) ? &entries_[row] : nullptr;
    }

    // The module writes the old value as it writes any value: the technician sees its own
    // window with the value in its field and answers its own questions.
    void restore() {
        const JournalEntry* e = selected();
        const int at = e ? restorePosition(*e, call_.text, call_.name) : -1;
        if (at < 0) return;
        const std::string dataPath = ReadDataPath(ctx_);
        if (dataPath.empty()) return;
        const PluginCall call{withRestorePreset(call_.text, at, e->write.restore), at, call_.mode,
                              call_.name};
        const std::string module = e->write.module;
        window_.hideForCall();
        RunPlugin(ctx_, dataPath, module, call, ctx_.language(), ctx_.pick(kLoadError));
        window_.showAfterCall();
        fill();
    }

    ModuleContext& ctx_;
    const PluginCall& call_;
    WriteJournal& journal_;
    ModuleDialog window_;
    ui::Dialog& d_;
    std::vector<JournalEntry> entries_;
    int shownRow_ = -2;
};

}  // namespace

ui::DialogTemplate journalTemplate() {
    ui::DialogTemplate t;
    t.name = "JOURNAL";
    t.rect = {0, 0, 320, 240};
    ui::ControlSpec list = makeControl(kListId, ui::ControlKind::ListView, {4, 4, 312, 118});
    list.fullRowSelect = true;
    ui::ControlSpec detail = makeControl(kDetailId, ui::ControlKind::Label, {4, 126, 312, 70});
    detail.multiLine = true;
    t.controls = {
        list,
        detail,
        makeControl(kRestoreId, ui::ControlKind::Button, {4, 200, 152, 34}, "Restore previous"),
        makeControl(kExitId, ui::ControlKind::Button, {164, 200, 152, 34}, "Exit"),
    };
    t.exitControl = kExitId;
    return t;
}

std::string runJournal(ModuleContext& ctx, const PluginCall& call) {
    // Nobody to read it without a window.
    if (!ctx.showsDialog()) return {};
    WriteJournal* journal = ctx.host().journal;
    if (!journal) {
        ctx.messageBox(ctx.pick(kNoJournal), ui::Buttons::Ok, ui::Icon::Information);
        return {};
    }
    JournalScreen(ctx, call, *journal).run();
    return {};
}

}  // namespace corvan::journal
