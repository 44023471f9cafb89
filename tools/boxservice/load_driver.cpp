#include "tools/boxservice/load_driver.h"

#include <algorithm>
#include <filesystem>

#include "platform/device_root.h"
#include "platform/text_codec.h"
#include "plugins/boxstart/box_startup.h"
#include "plugins/boxstart/box_texts.h"
#include "plugins/boxstart/download_plan.h"
#include "tools/boxservice/service_dialogs.h"
#include "tools/boxservice/service_session.h"
#include "tools/boxservice/service_texts.h"
#include "ui/screen.h"

namespace corvan::boxservice {

namespace {

std::vector<std::string> driversIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator(folder, ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (it->is_regular_file(ec) && name.size() > 4 &&
            equalsIgnoreCase(name.substr(name.size() - 4), ".drv"))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

DriverFiles findDriverFiles(const ServiceHost& host, const std::string& installPath) {
    DriverFiles files;
    if (!installPath.empty()) {
        files.folder = "\\" + installPath + "\\DRV";
        files.names = driversIn(host.root->toHost(files.folder));
        if (!files.names.empty()) return files;
    }
    files.folder = "\\DRV";
    files.names = driversIn(host.root->toHost(files.folder));
    return files;
}

void loadDriver(ServiceHost& host) {
    const DriverFiles files = findDriverFiles(host, serviceConfigValue(host, "PATH="));
    auto say = [&host](const std::string& message) {
        host.screen->messageBox(message, "", ui::Buttons::Ok, ui::Icon::None);
    };
    if (files.names.empty()) return say(std::string(text::kNoDrivers) + files.folder);

    auto session = PortSession::open(host);
    if (!session) return;
    const int chosen = chooseFromList(*host.screen, *host.clock, "DRIVERS",
                                      std::string(text::kLoadDriver), files.names);
    if (chosen < 0) return;
    const std::string path = files.folder + "\\" + files.names[size_t(chosen)];

    // The download of the box start-up, as the engine's "@" mode runs it: straight to the
    // transfer, with its progress window and retry prompts, up to five attempts.
    const ModuleContext ctx = session->context();
    int started = boxstart::kBoxRetry;
    for (int attempt = 0; attempt < boxstart::kStartAttempts && started == boxstart::kBoxRetry;
         ++attempt)
        started = boxstart::StartBox(ctx, path, ctx.mode(), true);
    if (started == boxstart::kBoxStarted)
        say(std::string(text::kDriverLoaded) + files.names[size_t(chosen)]);
    else
        say(ctx.pick(boxstart::kLoadErrorText));
}

}  // namespace corvan::boxservice
