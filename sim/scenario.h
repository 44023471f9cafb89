#pragma once
// Everything a simulated box starts from: the box itself (its program, wiring, state bytes,
// keep-alive message), the line timing, the ECUs of the vehicle and the faults to inject.
// Scenario files fill it (scenario_loader.h); tests may also build one in code.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "sim/bluetooth_config.h"
#include "sim/driver_memory.h"
#include "sim/ecu_model.h"
#include "sim/ecu_selector.h"
#include "sim/faults.h"
#include "sim/registers.h"

namespace corvan::sim {

enum class ProgramState {
    None,     // the loader runs, no valid driver in memory
    Loaded,   // the loader runs, a valid driver waits to be started
    Running,  // the driver runs (replies carry the flag bit)
};

struct BoxConfig {
    ProgramState program = ProgramState::Running;
    std::string driverName = "KWP2000";
    // The name reply puts a blank after the name (the start-up cuts the name there; a
    // name without a blank reads as empty and matches every driver file).
    bool nameBlank = true;
    std::string loaderName = "VBOOT";
    DownloadConfig download;
    Wiring wiring;
    std::array<uint8_t, 256> registers{};
    std::string voltage = "12.60";  // five characters in the state reply
    std::array<uint8_t, 5> driverCode{0x00, 0x00, 0x00, 0x00, 0x01};
    uint8_t checksumFlag = 0;
    std::optional<uint8_t> forcedState;  // the state reply always says this
    std::vector<uint8_t> keepAlive;
    bool keepAliveOn = false;
    int64_t keepAliveIntervalUs = 1000000;
    std::array<uint8_t, 40> configTemplate{0x00, 0x01};
    // The ECU the running driver is connected to at power-up: an index, kNoEcu, or
    // kFirstEcu (the first ECU when the driver runs, none otherwise).
    static constexpr int kNoEcu = -1, kFirstEcu = -2;
    int connectedEcu = kFirstEcu;
    int64_t resetBusyUs = 0;  // after a reset the box hears nothing for this long
};

struct TimingConfig {
    bool pacing = false;  // bytes take 10 bit times each on the line
    int baud = 9600;
    int64_t replyDelayUs = 0;     // the box's own turnaround before each reply
    int64_t frameGapUs = 200000;  // a pause this long abandons a half-received frame
};

struct SimEcu {
    std::string name;
    EcuSelector select;
    std::string model;
    std::unique_ptr<EcuModel> ecu;
};

struct Scenario {
    std::string source;  // the file it came from (for messages)
    BoxConfig box;
    TimingConfig timing;
    std::vector<SimEcu> ecus;
    std::vector<Fault> faults;
    // The terminal's Bluetooth serial module in front of the box, when the file describes one.
    std::optional<BluetoothConfig> bluetooth;
};

}  // namespace corvan::sim
