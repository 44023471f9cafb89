#pragma once
// What the terminal's Bluetooth serial module starts from in the simulator: its own
// address and version, its mode, the device it is paired with, the devices in range (the
// box among them) and its timings. Scenario files fill it under "bluetooth".
#include <cstdint>
#include <string>
#include <vector>

namespace corvan::sim {

struct BluetoothDevice {
    std::string address;  // 12 hexadecimal digits
    std::string name;
    std::string pin;  // the PIN the device asks for when paired; empty: none
};

struct BluetoothConfig {
    // At power-up the link to the paired device is up: bytes pass to the box. Otherwise the
    // module listens for AT commands until a restart links it.
    bool linked = true;
    std::string address = "00A0961E0F01";
    std::string version = "BT SERIAL 2.4";
    int mode = 2;                         // 2: links to `remote`; 3: searches
    std::string remote = "0012F3A1B2C4";  // the paired device
    std::string pin;                      // the PIN set with AT+ZE
    std::vector<BluetoothDevice> devices{{"0012F3A1B2C4", "VARBOX 0412", ""}};
    int64_t answerDelayUs = 20000;  // after a command's last byte
    int64_t restartUs = 1500000;    // AT+ZX: the module hears nothing while it restarts
    int64_t linkDelayUs = 5000000;  // after the restart, in mode 2, until the link is up
    // How long an inquiry runs; -1: the seconds the command asks for ("AT+ZI15,L": 15 s).
    int64_t inquiryUs = -1;
    // Commands answered "ERR" or not at all: "ZV", "ZX", "ZU", "ZM2", "ZM3", "ZI", "ZA", "ZE".
    std::vector<std::string> refuse;
    std::vector<std::string> silent;
};

}  // namespace corvan::sim
