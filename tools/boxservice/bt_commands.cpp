#include "tools/boxservice/bt_commands.h"

#include "platform/clock.h"
#include "platform/text_codec.h"
#include "tools/boxservice/at_exchange.h"
#include "tools/boxservice/bt_devices.h"
#include "tools/boxservice/service_dialogs.h"
#include "tools/boxservice/service_session.h"
#include "tools/boxservice/service_texts.h"
#include "ui/screen.h"

namespace corvan::boxservice {

namespace {

// After a restart ("AT+ZX") the module is deaf for a while; mode 3 is asked for again every
// half second from 50 % on, 5 % a pass, and the passes end where the search begins (95 %):
// a module that never answers does not hold the terminal for ever.
constexpr int kRestartFirstPercent = 50;
constexpr int kRestartStepPercent = 5;
constexpr int kSearchPercent = 95;
constexpr int kRestartPauseMs = 500;

class Pairing {
  public:
    explicit Pairing(PortSession& s) : s_(s), clock_(s.clock()), screen_(s.screen()) {}

    void run() {
        say(text::kPairingWarning);
        if (!answerHas(send("AT+ZM3\r", 5), "OK")) return say(text::kNoMode3);

        std::vector<std::string> devices;
        {
            ProgressDialog progress(screen_, std::string(text::kPairBluetooth),
                                    std::string(text::kPreparing));
            progress.setProgress(15);
            send("AT+ZX", 5);
            progress.setProgress(30);
            if (!restartedInMode3(progress)) return say(text::kNoMode3);
            progress.setProgress(kSearchPercent);
            clock_.sleepMs(1000);
            progress.setText(std::string(text::kSearching));
            devices = inquiryDevices(send("AT+ZI15,L\r", 0).text);
        }
        if (devices.empty()) return say(text::kNoDevice);
        std::vector<std::string> rows;
        for (const std::string& d : devices) rows.push_back(cp1252ToUtf8(d));
        const int chosen = chooseFromList(screen_, clock_, "DISPOSITIVOS",
                                          std::string(text::kPairBluetooth), rows);
        if (chosen < 0) return;
        const std::string& entry = devices[size_t(chosen)];
        clock_.sleepMs(1000);
        if (!answerHas(send("AT+ZU", 30), "OK")) say(text::kCannotStopSearch);
        clock_.sleepMs(1000);
        if (!answerHas(send("AT+ZM2\r", 5), "OK")) return say(text::kNoMode2);
        clock_.sleepMs(1000);
        if (answerHas(send("AT+ZA" + deviceAddress(entry) + "\r", 10), "ERR"))
            return say(text::kPairingError);

        const std::string pin =
            askForText(screen_, clock_, "PIN", std::string(text::kPairBluetooth),
                       std::string(text::kPinPrompt));
        send("AT+ZE" + pin + "\r", 5);
        clock_.sleepMs(1000);
        send("AT+ZX", 5);
        say(text::kPaired);
    }

  private:
    AtAnswer send(const std::string& command, int quietCount) {
        return sendAtCommand(*s_.port(), clock_, command, quietCount);
    }
    void say(std::string_view message) {
        screen_.messageBox(std::string(message), "", ui::Buttons::Ok, ui::Icon::None);
    }
    bool restartedInMode3(ProgressDialog& progress) {
        for (int percent = kRestartFirstPercent; percent < kSearchPercent;
             percent += kRestartStepPercent) {
            progress.setProgress(percent);
            clock_.sleepMs(kRestartPauseMs);
            if (send("AT+ZM3\r", 5).ok) return true;
        }
        return false;
    }

    PortSession& s_;
    Clock& clock_;
    ui::Screen& screen_;
};

}  // namespace

void readBluetoothConfiguration(PortSession& session) {
    const AtAnswer answer = sendAtCommand(*session.port(), session.clock(), "AT+ZV", 20);
    const std::string message =
        answer.ok ? cp1252ToUtf8(answer.text) : std::string(text::kNoModuleAnswer);
    session.screen().messageBox(message, "", ui::Buttons::Ok, ui::Icon::None);
}

void pairBluetooth(PortSession& session) {
    Pairing(session).run();
}

}  // namespace corvan::boxservice
