#pragma once
// What the service program works with, and the line of one command: each command opens the
// port named by "PORT=", builds its own link on it, does its work and closes the port again.
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "runtime/host_services.h"
#include "runtime/module_context.h"
#include "runtime/varbox_link.h"

namespace corvan {
class Clock;
class DeviceRoot;
class SerialPort;
namespace ui {
class Screen;
}
}  // namespace corvan

namespace corvan::boxservice {

class PortOpener;

struct ServiceHost {
    ui::Screen* screen = nullptr;
    Clock* clock = nullptr;
    const DeviceRoot* root = nullptr;
    PortOpener* ports = nullptr;
    // The device path of the running program; its folder holds the program's "iCor.cfg".
    std::string programPath = "\\STORAGE CARD\\CORVANDATA\\EXE\\TEST_KELM_ZUL.EXE";
    FrameObserver* frames = nullptr;  // may be null
};

// The value of `key` ("PORT=", "PATH=") in the configuration beside the program: the text
// between the first "[" after the key and the next "]". A missing file is said to the
// technician and gives an empty value.
std::string serviceConfigValue(const ServiceHost& host, std::string_view key);

// How one Varbox exchange of the service program runs: the wait dialog's title and status
// text, sends per cycle, the pause before each cycle (seconds) and the poll factor.
struct BoxExchange {
    std::string title, status;
    int attempts = 4;
    double waitSeconds = 0.2;
    double pollFactor = 1.0;
    bool waitDialog = true;
};

class PortSession {
  public:
    // The port named by "PORT=", opened; null after the port message when it cannot be.
    static std::unique_ptr<PortSession> open(ServiceHost& host);
    ~PortSession();
    PortSession(const PortSession&) = delete;
    PortSession& operator=(const PortSession&) = delete;

    ServiceHost& host() { return host_; }
    Clock& clock() { return *host_.clock; }
    ui::Screen& screen() { return *host_.screen; }
    // The open port; null once closed.
    SerialPort* port() { return port_.get(); }
    VarboxLink& link() { return *link_; }
    // For the box start-up's download (Spanish, visible, retry prompts on).
    ModuleContext context() { return ModuleContext(*link_, 0, "EXE"); }

    // One exchange in the wait-dialog form with the fixed retry prompt; the reply length,
    // or 0. A session whose port was closed has no reply.
    int exchange(std::span<const uint8_t> request, const BoxExchange& how);
    // Reply byte `i` of the last exchange (0 past the buffer).
    uint8_t at(size_t i) const { return i < reply_.size() ? reply_[i] : 0; }
    std::span<const uint8_t> reply() const { return reply_; }

    void closePort();
    void releaseLink();
    bool linkReleased() const { return !link_; }

  private:
    PortSession(ServiceHost& host, std::unique_ptr<SerialPort> port);

    ServiceHost& host_;
    HostServices services_;
    std::unique_ptr<SerialPort> port_;
    std::unique_ptr<VarboxLink> link_;
    // Room for every reply of the service commands; a longer frame is flushed unread.
    std::array<uint8_t, 1024> reply_{};
};

}  // namespace corvan::boxservice
