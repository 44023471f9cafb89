#pragma once
// What the box start-up tests wire together: a device root with "iCor.cfg" and the
// installation's "drv" and "DLL" folders, the headless screen, the virtual clock and the
// simulated Varbox on the in-memory line, and the link that carries them. The progress
// window is watched on every pump, so a test sees the stages the technician would see.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/device_root.h"
#include "platform/library_loader.h"
#include "platform/memory_port.h"
#include "platform/test_temp_dir.h"
#include "runtime/host_services.h"
#include "runtime/module_context.h"
#include "runtime/varbox_link.h"
#include "sim/varbox.h"
#include "ui/headless_screen.h"

namespace corvan::boxstart::testing {

using Bytes = std::vector<uint8_t>;
using Keys = std::vector<std::pair<std::string, std::string>>;

inline constexpr std::string_view kDataPath = "STORAGE CARD\\CORVANDATA";
inline constexpr std::string_view kKwpDriverPath = "STORAGE CARD\\CORVANDATA\\drv\\KWP2000.DRV";

// The configuration keys of a K-line engine unit (address 10) and of a CAN unit (channel 1).
Keys kLineKeys();
Keys canKeys();
// `keys` with `key` set to `value` (added when missing), or without it.
Keys with(Keys keys, const std::string& key, const std::string& value);
Keys without(Keys keys, const std::string& key);
// A data section: "#CONFIGURATION" with the keys, then a menu with one item.
std::string section(const Keys& keys);

// The simulated box of a test; the defaults are a box running "KWP2000" with an OBD II
// cable, a K-line unit at address 10 that answers the connection with C1 EF 8F and a CAN
// unit on channel 1 (RESPCODE 28).
struct BoxSetup {
    std::string program = "running";  // "running", "loaded" or "none"
    std::string driverName = "KWP2000";
    std::string adapter = "OBDII";
    std::string extra;                                  // further members of the "box" object
    std::string ecuConnect = R"("reply": "C1 EF 8F")";  // the K-line unit's "connect" members
    std::string faults;                                 // members of the "faults" array
};
std::string scenarioJson(const BoxSetup& setup = {});

// A driver image of `size` bytes that announces `name` to the box.
Bytes driverImage(std::string_view name, size_t size);

struct Stage {
    std::string text;
    int progress = 0;
    bool operator==(const Stage&) const = default;
};

class Rig {
  public:
    explicit Rig(const BoxSetup& setup = {}) : Rig(std::string_view(scenarioJson(setup))) {}
    explicit Rig(std::string_view scenarioText);

    void writeDriver(std::string_view fileName, const Bytes& image);
    // Runs the start-up as the plug-in's entry does.
    std::string run(const std::string& text, std::string mode = "EXE", int language = 1);
    ModuleContext context(std::string mode = "EXE", int language = 1) {
        return ModuleContext(link, language, std::move(mode));
    }

    // Frames the box received (without their check byte), all or with one command.
    std::vector<Bytes> frames() const;
    std::vector<Bytes> framesWith(uint8_t command) const;
    // Command bytes of the frames, in order.
    Bytes commands() const;
    std::vector<std::string> boxTexts() const;

    ::corvan::testing::TempDir dir;
    DeviceRoot root;
    VirtualClock clock;
    ui::HeadlessScreen screen;
    std::unique_ptr<sim::Varbox> box;
    std::unique_ptr<MemoryPort> port;
    DlopenLoader loader;
    HostServices host;
    VarboxLink link;
    std::vector<Stage> stages;  // distinct text and progress pairs of the progress window
    bool progressShown = false;
};

}  // namespace corvan::boxstart::testing
