#include "tools/launcher/loader.h"

#include <atomic>
#include <thread>

#include "platform/clock.h"
#include "platform/process.h"
#include "ui/screen.h"

namespace corvan::launcher {

namespace {

ui::DialogTemplate loaderTemplate() {
    ui::DialogTemplate t;
    t.name = "LOADER";
    t.rect = {0, 0, 320, 240};
    t.fullScreen = true;
    ui::ControlSpec text;
    text.id = 100;
    text.kind = ui::ControlKind::Label;
    text.text = kLoadingText;
    text.rect = {100, 110, 160, 20};
    t.controls = {text};
    return t;
}

}  // namespace

bool runLoader(LoaderHost& host) {
    auto dialog = host.screen->createDialog(loaderTemplate());
    dialog->setHandlers({});  // no way out but the worker's: the loader has no close box
    dialog->show(true);

    std::atomic<bool> done{false}, started{false};
    std::thread worker([&] {
        waitForShellFile(host.probe, *host.workerClock);
        std::string error;
        started = host.starter->start(host.shellProgram(), host.shellOptions, &error) != nullptr;
        done = true;
    });
    // The dialog's thread only keeps the dialog painted until the worker is through.
    while (!done) {
        host.screen->pumpMessages();
        host.dialogClock->sleepMs(10);
    }
    worker.join();
    dialog.reset();
    return started;
}

}  // namespace corvan::launcher
