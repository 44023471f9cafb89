#pragma once
// What the VAG functions' tests wire together: a device root with an installation
// ("iCor.cfg" with the workshop settings, a DLL folder), the simulated box on the virtual
// clock with a KW1281 unit behind it, the headless screen worked by a technician script,
// and the link that lends them to a module.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/device_root.h"
#include "platform/library_loader.h"
#include "platform/memory_port.h"
#include "platform/test_temp_dir.h"
#include "runtime/module_context.h"
#include "runtime/testing/link_fixture.h"
#include "sim/kw1281_unit.h"
#include "sim/varbox.h"
#include "ui/headless_screen.h"

namespace corvan::vagkline::testing {

using Bytes = std::vector<uint8_t>;

Bytes hex(std::string_view text);

inline constexpr const char* kDataPath = "STORAGE CARD\\CORVANDATA";

// The unit: identification groups of three texts and a VIN, coding 1234 with workshop
// code 5678, login code 11111, channel 9 locked (value 500, text 294), channel 30 free.
// `unit` and `box` give keys of the unit's config and of the box object ("key": value,
// comma-separated) that replace or add to these.
std::string kombiScenario(const std::string& unit = "", const std::string& box = "");

// The record of the unit: one menu item with the identification request and the login
// plug-in's name.
std::string kombiText(const std::string& more = "");

class VagRig : public ::testing::Test {
  protected:
    VagRig();
    void boot(const std::string& json = kombiScenario());
    void script(const std::string& text) { ASSERT_EQ(screen.loadScript(text), ""); }
    void writeConfig(const std::string& extraKeys);
    void installPlugin(const std::string& builtFile, const std::string& name);

    ModuleContext context(const std::string& mode, int language = kEnglishIndex) {
        return ModuleContext(link, language, mode);
    }
    sim::Kw1281Unit& unit() const;

    // The ECU messages the module sent (after the 00 of command 0x20), and frames by
    // command byte.
    std::vector<Bytes> ecuMessages() const;
    std::vector<Bytes> sent(uint8_t command) const;
    // The message box texts, in order.
    std::vector<std::string> boxTexts() const;
    const ui::DialogSnapshot& shown(const std::string& name) const;

    static constexpr int kEnglishIndex = 1;
    corvan::testing::TempDir dir;
    DeviceRoot root;
    DlopenLoader loader;
    VirtualClock clock;
    ui::HeadlessScreen screen;
    std::unique_ptr<sim::Varbox> box;
    std::unique_ptr<MemoryPort> port;
    corvan::testing::FrameLog frames;
    HostServices host;
    VarboxLink link;
};

}  // namespace corvan::vagkline::testing
