#include "engine/link_port.h"

#include "platform/memory_port.h"
#include "platform/termios_port.h"
#include "sim/scenario_loader.h"
#include "sim/varbox.h"

namespace corvan::engine {

LinkPort::~LinkPort() = default;
LinkPort::LinkPort(LinkPort&&) noexcept = default;

std::unique_ptr<LinkPort> LinkPort::openDevice(const std::string& device, const std::string& name,
                                               std::string* error) {
    std::string why;
    auto port = openTermiosPort(device, SerialSettings{}, &why);
    if (!port) {
        // The port's own reason starts with the device, which the name already gives.
        if (why.rfind(device + ": ", 0) == 0) why.erase(0, device.size() + 2);
        if (error) *error = "cannot open the port " + name + ": " + why;
        return nullptr;
    }
    std::unique_ptr<LinkPort> link(new LinkPort);
    link->port_ = std::move(port);
    link->description_ = device;
    return link;
}

std::unique_ptr<LinkPort> LinkPort::openSimulator(const std::filesystem::path& scenarioFile,
                                                  Clock& clock, bool pacing, std::string* error) {
    sim::LoadResult loaded = sim::loadScenarioFile(scenarioFile.string());
    if (!loaded.ok()) {
        if (error) *error = "cannot load the simulator scenario: " + loaded.error;
        return nullptr;
    }
    if (pacing) loaded.scenario->timing.pacing = true;
    std::unique_ptr<LinkPort> link(new LinkPort);
    link->box_ = std::make_unique<sim::Varbox>(std::move(*loaded.scenario));
    link->port_ = std::make_unique<MemoryPort>(clock, *link->box_);
    link->description_ = "simulated box (" + scenarioFile.string() + ")";
    return link;
}

}  // namespace corvan::engine
