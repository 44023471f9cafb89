#pragma once
// What the service program's tests wire together: a device root with the program's own
// "iCor.cfg" in its EXE folder, the headless screen and the virtual clock, the simulated
// Bluetooth module and box behind "PORT=SIM", and the host that carries them.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/device_root.h"
#include "platform/test_temp_dir.h"
#include "tools/boxservice/service_ports.h"
#include "tools/boxservice/service_session.h"
#include "ui/headless_screen.h"

namespace corvan::boxservice::testing {

using Bytes = std::vector<uint8_t>;

inline constexpr std::string_view kConfig =
    "PATH=[STORAGE CARD\\CORVANDATA]\r\nPORT=[SIM]\r\nLANGUAGE=[SPANISH]\r\n";

// A scenario: a box running "KWP2000" with the OBD II cable and the members given for the
// "box" object, and the "bluetooth" object's members (empty: no module section, so the
// module is linked to the box).
std::string scenario(std::string_view boxMembers = "", std::string_view bluetoothMembers = "",
                     std::string_view extra = "");

// A module that is not linked, in range of the box ("0012F3A1B2C4", no PIN) and of a phone.
inline constexpr std::string_view kUnlinked =
    R"("linked": false, "remote": "", "devices": [
        {"address": "0012F3A1B2C4", "name": "VARBOX 0412"},
        {"address": "00025B00A5A5", "name": "PHONE"}])";

class Rig {
  public:
    explicit Rig(const std::string& scenarioText = scenario(), std::string_view config = kConfig);

    // Loads the technician script (fails the test when it does not parse).
    void script(std::string_view text);
    // Runs the service menu's command of row `row`.
    void run(int row);
    void writeFile(std::string_view devicePath, const Bytes& bytes);

    std::vector<std::string> boxTexts() const;
    // Frames the box received (without their check byte), all or with one command.
    std::vector<Bytes> frames() const;
    std::vector<Bytes> framesWith(uint8_t command) const;
    // Everything the program wrote on the line, as text (the AT commands).
    std::string wireText() const;
    // The register writes the box saw: register and value.
    std::vector<std::pair<uint8_t, uint8_t>> registerWrites() const;

    corvan::testing::TempDir dir;
    DeviceRoot root;
    VirtualClock clock;
    ui::HeadlessScreen screen;
    std::unique_ptr<SimulatedLine> line;
    std::unique_ptr<HostPorts> ports;
    ServiceHost host;
};

}  // namespace corvan::boxservice::testing
