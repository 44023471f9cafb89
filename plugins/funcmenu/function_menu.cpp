#include "plugins/funcmenu/function_menu.h"

#include <memory>
#include <vector>

#include "platform/library_loader.h"
#include "plugins/funcmenu/box_status.h"
#include "plugins/funcmenu/funcmenu_texts.h"
#include "plugins/funcmenu/journal_item.h"
#include "plugins/funcmenu/menu_dialog.h"
#include "plugins/funcmenu/menu_text.h"
#include "plugins/funcmenu/system_info.h"
#include "runtime/data_path.h"
#include "runtime/param_text.h"
#include "runtime/run_plugin.h"

namespace corvan::funcmenu {

namespace {

constexpr std::string_view kConsolePlugin = "LINKIO.DLL";

// The menu loop sleeps 1 ms per pass and asks the box for its state every 350th pass. The
// count starts one short, so the box is asked on the first pass and right after a function
// returns.
constexpr int kPollEvery = 350;
constexpr int kPollCountStart = kPollEvery - 1;

// The configuration plug-in gets the call as the menu received it, a trailing "@" included
// (the box start-up then downloads its driver whatever the box runs).
std::string runConfiguration(const ModuleContext& received, const PluginCall& call,
                             std::string_view dataPath) {
    const PluginCall configuration{call.text, 0, call.mode, call.name};
    return RunPlugin(received, dataPath, readConfiguration(call.text).dll, configuration,
                     received.language(), received.pick(kLoadError));
}

class FunctionMenu {
  public:
    FunctionMenu(const ModuleContext& received, const ModuleContext& ctx, const PluginCall& call,
                 std::string dataPath, std::string text, BoxStatus& box)
        : received_(received),
          ctx_(ctx),
          call_(call),
          dataPath_(std::move(dataPath)),
          text_(std::move(text)),
          box_(box) {}

    // False when the box stopped answering the state poll and the technician gave up.
    bool run();

  private:
    bool demo() const { return ctx_.isDemo(); }
    bool menuLoop(MenuDialog& dialog);
    bool periodicPoll(MenuDialog& dialog);
    void execute(MenuDialog& dialog);
    void runItem(const MenuItem& item);
    void showInformation();
    std::string callPlugin(std::string_view file, int start);

    const ModuleContext& received_;  // the mode as received, "@" included
    const ModuleContext& ctx_;       // the mode without it: everything after the configuration
    const PluginCall& call_;
    const std::string dataPath_;
    const std::string text_;  // the parameter text with the "#ADITIONAL_ID" block
    BoxStatus& box_;
    std::vector<MenuItem> items_;
};

bool FunctionMenu::run() {
    MenuDialog dialog(ctx_);
    if (!demo()) {
        const int at = autorunPosition(text_);
        if (at >= 0) callPlugin(GetKeyValue(text_, "DLL=", at), at);
    }
    items_ = readMenuItems(text_, dataPath_, ctx_.language());
    if (items_.empty() || !ctx_.showsDialog()) return true;
    std::vector<std::string> rows;
    for (const MenuItem& item : items_) rows.push_back(item.text);
    dialog.fill(call_.name, rows);
    dialog.show(true);
    return menuLoop(dialog);
}

bool FunctionMenu::menuLoop(MenuDialog& dialog) {
    int count = kPollCountStart;
    for (;;) {
        ctx_.clock().sleepMs(1);
        if (!demo() && ++count >= kPollEvery) {
            count = 0;
            if (!periodicPoll(dialog)) return false;
        }
        ctx_.pumpMessages();
        const std::string word = dialog.command();
        if (word == "EXIT") return true;
        if (word == "ADVANCED") {
            dialog.show(false);
            callPlugin(kConsolePlugin, 0);
            dialog.show(true);
            dialog.clearCommand();
        } else if (word == "SELECT") {
            dialog.clearCommand();
        } else if (word == "iCOR") {
            showInformation();
            dialog.clearCommand();
        } else if (word == "EXECUTE") {
            execute(dialog);
            count = kPollCountStart;
        }
    }
}

// A box that reports no connection is reset, and the technician may connect again (the
// configuration plug-in runs once more) or leave. A box that stops answering ends the menu
// at once: there is nothing left to close.
bool FunctionMenu::periodicPoll(MenuDialog& dialog) {
    const auto state = box_.requestState();
    if (!state) return false;
    if (*state == 0) {
        box_.reset();
        const ui::Answer answer = ctx_.messageBox(ctx_.pick(kConnectionError),
                                                  ui::Buttons::RetryCancel, ui::Icon::Question);
        if (answer == ui::Answer::Retry) {
            // The block appended after the first configuration stays as it was.
            dialog.show(false);
            runConfiguration(received_, call_, dataPath_);
            dialog.show(true);
        } else {
            dialog.setCommand("EXIT");
        }
    }
    dialog.setPower("OK");
    return true;
}

// A function runs only while the box holds the ECU connection (state not 0). When the state
// request gets no reply the state last reported decides. With state 0 the word stays, so
// the next pass polls the box and offers to connect again.
void FunctionMenu::execute(MenuDialog& dialog) {
    uint8_t state = 1;  // the demonstration has no box
    if (!demo()) {
        if (box_.requestState()) dialog.setPower("OK");
        state = box_.stateByte();
    }
    if (state == 0) return;
    const int row = dialog.currentRow();
    if (row >= 0 && static_cast<size_t>(row) < items_.size()) {
        dialog.show(false);
        runItem(items_[static_cast<size_t>(row)]);
        dialog.show(true);
    }
    dialog.clearCommand();
}

void FunctionMenu::runItem(const MenuItem& item) {
    // The library is held from before the item's message until after the call, so that a
    // plug-in that is not there is reported before the message and nothing runs.
    std::unique_ptr<LoadedLibrary> held;
    if (const LibraryLoader* loader = ctx_.host().loader) {
        if (const auto path = pluginHostPath(ctx_, dataPath_, item.dll)) {
            std::string error;
            held = loader->load(*path, &error);
        }
    }
    if (!held) {
        ctx_.messageBox(
            formatLoadError(ctx_.pick(kLoadError), pluginDevicePath(dataPath_, item.dll)));
        return;
    }
    const std::string message = itemMessage(item);
    if (!message.empty()) ctx_.messageBox(message);
    callPlugin(item.dll, item.position);
}

void FunctionMenu::showInformation() {
    if (demo()) {
        ctx_.messageBox(ctx_.pick(kDemoNotice));
        return;
    }
    const std::string text = box_.information(readSystemInfo(text_));
    ctx_.messageBox(text, ui::Buttons::Ok, ui::Icon::Information);
}

std::string FunctionMenu::callPlugin(std::string_view file, int start) {
    const PluginCall call{text_, start, ctx_.mode(), call_.name};
    return RunPlugin(ctx_, dataPath_, file, call, ctx_.language(), ctx_.pick(kLoadError));
}

}  // namespace

std::string runFunctionMenu(ModuleContext& ctx, const PluginCall& call) {
    // The report shows when the session began.
    const CivilTime started = ctx.clock().civilNow();
    const std::string dataPath = ReadDataPath(ctx, kConfigNotFoundFuncMenu);
    std::string result;
    if (call.mode == "EXE" || call.mode == "REPORT")
        result = systemInfoRecord(call.name, readSystemInfo(call.text), started);

    const std::string configured =
        call.mode == "DEMO" ? std::string("OK") : runConfiguration(ctx, call, dataPath);
    if (configured.find("ERROR") != std::string::npos) return "ERROR";

    const ModuleContext menuCtx(ctx.link(), ctx.language(), withoutTrailingAt(call.mode));
    BoxStatus box(menuCtx);
    {
        std::string text = call.text + additionalIdBlock(configured);
        if (const auto config = readConfigText(ctx); config && journalItemWanted(*config))
            text = withJournalItem(text, ctx.language());
        FunctionMenu menu(ctx, menuCtx, call, dataPath, std::move(text), box);
        if (!menu.run()) return {};
    }
    if (!menuCtx.isDemo()) box.close(closingRequest(readConfiguration(call.text).end));
    return result;
}

}  // namespace corvan::funcmenu
