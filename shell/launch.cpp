#include "shell/launch.h"

#include "platform/device_root.h"
#include "platform/process.h"
#include "platform/text_codec.h"
#include "shell/connect_prompt.h"
#include "shell/menu_page.h"
#include "shell/menu_rows.h"
#include "shell/modal_windows.h"
#include "shell/navigation_state.h"
#include "shell/shell_host.h"
#include "shell/shell_settings.h"
#include "shell/shell_texts.h"
#include "ui/screen.h"

namespace corvan::shell {

namespace {

// The engine is waited for in slices of this length, the screens pumped in between.
constexpr int kWaitSliceMs = 500;

}  // namespace

std::string engineCommandLine(std::string_view record, std::string_view brand,
                              std::string_view model, std::string_view system,
                              std::string_view variant, bool simulation, bool reloadDriver) {
    std::string line = "/";
    line.append(record).append(" /").append(brand).append(" ").append(model);
    line.append(" ").append(system).append(" ").append(variant);
    if (simulation)
        line.append(" /DEMO=").append(kDemoValue);
    else
        line.append(reloadDriver ? " /EXE /LOADDRIVER" : " /EXE");
    return line;
}

bool isDocument(std::string_view record) {
    return record.size() >= 4 && asciiUpper(record.substr(record.size() - 4)) == ".HTM";
}

bool Launcher::openInBrowser(const std::string& devicePath) {
    const std::string browser = host_.programs.findOnPath(host_.programs.browser);
    if (browser.empty()) return false;
    std::string error;
    return host_.starter->start(browser, {host_.root->toHost(devicePath).string()}, &error) !=
           nullptr;
}

void Launcher::LaunchSelection(const std::string& brand, const std::string& model,
                               const std::string& system, const std::string& variant,
                               ui::Dialog* page) {
    const std::string record = recordOf(nav_.vehicleText, model, system, variant);
    if (isDocument(record)) {
        const std::string document = "\\" + settings_.installPath + "\\INF\\" + record;
        if (!openInBrowser(document))
            host_.screen->messageBox(std::string(text::kDocumentError) + document, "",
                                     ui::Buttons::Ok, ui::Icon::Stop);
        return;
    }
    if (!nav_.simulation) {
        const auto reload = ConnectPrompt(host_, settings_, nav_.connectionPicture);
        if (!reload) return;
        nav_.reloadDriver = *reload;
    }
    runEngine(engineCommandLine(record, brand, model, system, variant, nav_.simulation,
                                nav_.reloadDriver),
              page);
}

void Launcher::runEngine(const std::string& commandLine, ui::Dialog* page) {
    const std::string program =
        host_.root->toHost("\\" + settings_.installPath + "\\EXE\\eCor.exe").string();
    auto background = showBackground(host_, settings_);
    if (page) page->show(false);
    host_.screen->pumpMessages();  // drawn before the engine takes the machine

    // The command line is one word, blanks and all: the names of the selection contain
    // blanks and the engine takes the line as the shell wrote it.
    std::vector<std::string> args = host_.engineOptions;
    args.push_back(commandLine);
    std::string error;
    auto engine = host_.starter->start(program, args, &error);
    if (engine)
        while (!engine->waitFor(kWaitSliceMs)) host_.screen->pumpMessages();

    if (page) page->show(true);
    background.reset();
    if (!engine)
        host_.screen->messageBox(std::string(text::kEngineMissing), "", ui::Buttons::Ok,
                                 ui::Icon::None);
}

void Launcher::StartUtility(int position) {
    std::string program;
    std::string_view missing;
    std::vector<std::string> options;
    if (position == 1) {
        program =
            host_.root->toHost("\\" + settings_.installPath + "\\EXE\\TEST_KELM_ZUL.EXE").string();
        missing = text::kBoxTestMissing;
        options = host_.utilityOptions;
    } else if (position == 2) {
        program = existingHostFile(host_, settings_.flashFolder + "Calibrate.exe");
        if (program.empty()) program = host_.programs.findOnPath(host_.programs.calibration);
        missing = text::kCalibrationMissing;
    } else if (position == 3) {
        program =
            host_.root->toHost("\\" + settings_.installPath + "\\EXE\\DEVCONFIG.EXE").string();
        missing = text::kDevconfigMissing;
        options = host_.utilityOptions;
    } else {
        return;
    }
    std::string error;
    if (program.empty() || !host_.starter->start(program, options, &error))
        host_.screen->messageBox(std::string(missing), "", ui::Buttons::Ok, ui::Icon::None);
}

void Launcher::OpenNewsPage() {
    if (!openInBrowser(settings_.dataFolder + "Datos\\Novedades.htm"))
        host_.screen->messageBox(std::string(text::kNewsError), "", ui::Buttons::Ok,
                                 ui::Icon::Stop);
}

}  // namespace corvan::shell
