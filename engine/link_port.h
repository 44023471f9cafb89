#pragma once
// The serial line the engine holds for the whole run: a device file opens the real port
// (9600 8N1, 80 ms read time-out); the word "SIM", or a scenario file, puts the built-in
// simulated box at the far end of an in-memory line.
#include <filesystem>
#include <memory>
#include <string>

#include "platform/serial_port.h"

namespace corvan {
class Clock;
namespace sim {
class Varbox;
}
}  // namespace corvan

namespace corvan::engine {

class LinkPort {
  public:
    ~LinkPort();
    LinkPort(LinkPort&&) noexcept;

    // The real port named by `device` (`name` as the technician set it, for the message);
    // nullptr with `error` set when it cannot be opened.
    static std::unique_ptr<LinkPort> openDevice(const std::string& device, const std::string& name,
                                                std::string* error);
    // The simulated box described by `scenarioFile`, answering on `clock`; with `pacing`
    // its bytes take their time on the line at the scenario's baud rate.
    static std::unique_ptr<LinkPort> openSimulator(const std::filesystem::path& scenarioFile,
                                                   Clock& clock, bool pacing, std::string* error);

    SerialPort& port() const { return *port_; }
    // The simulated box, or null on a real port.
    sim::Varbox* box() const { return box_.get(); }
    const std::string& description() const { return description_; }

  private:
    LinkPort() = default;
    std::unique_ptr<sim::Varbox> box_;  // before the port that talks to it
    std::unique_ptr<SerialPort> port_;
    std::string description_;
};

}  // namespace corvan::engine
