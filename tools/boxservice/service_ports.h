#pragma once
// The lines the service program opens, one command at a time: the terminal's serial port
// named by "PORT=" (a device of this host), or the simulated Bluetooth module and box.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/serial_port.h"
#include "sim/bluetooth_module.h"
#include "sim/varbox.h"

namespace corvan {
class Clock;
}

namespace corvan::boxservice {

class PortOpener {
  public:
    virtual ~PortOpener() = default;
    // `deviceName` as the program names it: the "PORT=" value and a colon ("COM1:").
    // nullptr with `why` set when it cannot be opened (missing, busy, not a port).
    virtual std::unique_ptr<SerialPort> open(const std::string& deviceName, std::string* why) = 0;
};

// The simulated line: the Bluetooth module and the box behind it live as long as the
// program, so the box keeps its driver and the module its pairing from one command to the
// next; each opening is a fresh line to them, and only one can be open at a time.
class SimulatedLine final : public PortOpener {
  public:
    // The module is the scenario's "bluetooth" one, or a module linked to the box.
    SimulatedLine(sim::Scenario scenario, Clock& clock);
    ~SimulatedLine() override;

    std::unique_ptr<SerialPort> open(const std::string& deviceName, std::string* why) override;

    sim::Varbox& box() { return *box_; }
    sim::BluetoothModule& module() { return *module_; }
    // Every byte the program wrote, over all openings.
    const std::vector<uint8_t>& wire() const { return wire_; }
    bool isOpen() const { return open_; }
    int openings() const { return openings_; }

  private:
    class Port;
    Clock& clock_;
    std::unique_ptr<sim::Varbox> box_;
    std::unique_ptr<sim::BluetoothModule> module_;
    std::vector<uint8_t> wire_;
    bool open_ = false;
    int openings_ = 0;
};

// The host's ports: a device name whose port word is "SIM" opens `simulated` (when there is
// one); any other opens that serial device with the service program's settings. A device
// given on the command line (`overrideDevice`) replaces the configured one.
class HostPorts final : public PortOpener {
  public:
    HostPorts(SimulatedLine* simulated, std::string overrideDevice)
        : simulated_(simulated), override_(std::move(overrideDevice)) {}
    std::unique_ptr<SerialPort> open(const std::string& deviceName, std::string* why) override;

  private:
    SimulatedLine* simulated_;
    std::string override_;
};

// The port word of a device name: "COM1:" -> "COM1".
std::string portWord(const std::string& deviceName);

}  // namespace corvan::boxservice
