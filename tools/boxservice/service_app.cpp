#include "tools/boxservice/service_app.h"

#include <array>
#include <string>

#include "platform/clock.h"
#include "tools/boxservice/box_tests.h"
#include "tools/boxservice/bt_commands.h"
#include "tools/boxservice/load_driver.h"
#include "tools/boxservice/perf_test.h"
#include "tools/boxservice/service_dialogs.h"
#include "tools/boxservice/service_session.h"
#include "tools/boxservice/service_texts.h"
#include "ui/screen.h"

namespace corvan::boxservice {

namespace {

constexpr std::array<std::string_view, 7> kMenu{
    text::kPerformance,   text::kLoadDriver, text::kResetDriver, text::kReadBluetooth,
    text::kPairBluetooth, text::kLineTest,   text::kObdTest};

// A command that needs nothing but the open line.
template <class Work>
void onOpenPort(ServiceHost& host, Work work) {
    auto session = PortSession::open(host);
    if (session) work(*session);
}

}  // namespace

ui::DialogTemplate menuTemplate() {
    ui::DialogTemplate t;
    t.name = "TEST_KELM_ZUL";
    t.title = std::string(text::kProgramTitle);
    t.rect = {0, 0, 320, 240};
    ui::ControlSpec list;
    list.id = kMenuListId;
    list.kind = ui::ControlKind::ListView;
    list.rect = {6, 6, 308, 176};
    list.showHeader = false;
    ui::ControlSpec run;
    run.id = kRunId;
    run.kind = ui::ControlKind::Button;
    run.text = std::string(text::kRun);
    run.rect = {30, 192, 110, 36};
    ui::ControlSpec leave = run;
    leave.id = kLeaveId;
    leave.text = std::string(text::kLeave);
    leave.rect = {180, 192, 110, 36};
    t.controls = {list, run, leave};
    t.exitControl = kLeaveId;
    return t;
}

void runServiceCommand(ServiceHost& host, int row) {
    switch (row) {
        case 0:
            return onOpenPort(host, [](PortSession& s) { runPerformanceTest(s); });
        case 1:
            return loadDriver(host);
        case 2:
            return onOpenPort(host, resetBox);
        case 3:
            return onOpenPort(host, readBluetoothConfiguration);
        case 4:
            return onOpenPort(host, pairBluetooth);
        case 5:
            return onOpenPort(host, testLineDrivers);
        case 6:
            return onOpenPort(host, testObdAdapter);
        default:
            return;
    }
}

void runServiceMenu(ServiceHost& host) {
    ui::Screen& screen = *host.screen;
    auto dialog = screen.createDialog(menuTemplate());
    ui::Dialog& d = *dialog;
    d.setTitle(std::string(text::kProgramTitle));
    d.setColumns(kMenuListId, {{"", 296}});
    for (std::string_view item : kMenu) d.addRow(kMenuListId, {std::string(item)});
    ui::DialogHandlers h;
    h.onButton = [&d](int id) {
        if (id == kRunId) d.setCommand("RUN");
        if (id == kLeaveId) d.setCommand("EXIT");
    };
    h.onRowDoubleTap = [&d](int, int) { d.setCommand("RUN"); };
    h.onClose = [&d] { d.setCommand("EXIT"); };
    d.setHandlers(h);
    d.show(true);
    for (;;) {
        screen.pumpMessages();
        const std::string word = d.command();
        d.clearCommand();
        if (word == "EXIT") break;
        if (word == "RUN")
            runServiceCommand(host, d.selectedRow(kMenuListId));
        else
            host.clock->sleepMs(kIdleRestMs);
    }
    d.setHandlers({});
    d.show(false);
}

}  // namespace corvan::boxservice
