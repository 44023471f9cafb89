// devconfig: sets the terminal's display and keyboard models in its registry.
//
//   devconfig [--root DIR] [--registry FILE] [--headless | --qt] [--technician FILE]
//             [--screens FILE] [--screenshots DIR] [--scale N]
//
// See docs/device-tools.md.
#include <CLI/CLI.hpp>
#include <cstdio>

#include "platform/command_line_exit.h"
#include "platform/default_root.h"
#include "platform/device_root.h"
#include "platform/registry_store.h"
#include "tools/devconfig/devconfig_dialog.h"
#include "tools/toolfront/tool_front.h"

int main(int argc, char** argv) {
    using namespace corvan;
    CLI::App app{"devconfig: the terminal's display and keyboard models in its registry"};
    std::filesystem::path root = corvan::defaultDeviceRoot(), registry;
    tools::ToolScreenOptions screen;
    app.add_option("--root", root, "Device root (default: this build's sample installation)");
    app.add_option("--registry", registry,
                   "Registry file (default: \\MIP FLASH\\Registry\\LocalMachine.txt of the root)");
    tools::addToolScreenOptions(app, screen);
    if (const int status = corvan::parseCommandLine(app, argc, argv); status >= 0) return status;

    const DeviceRoot deviceRoot(std::filesystem::absolute(root));
    if (registry.empty()) registry = deviceRoot.toHost(kRegistryDevicePath);
    RegistryStore store(registry);
    if (!store.loadError().empty())
        std::fprintf(stderr, "devconfig: %s: the registry is left as it is\n",
                     store.loadError().c_str());
    return tools::runOnScreen(argc, argv, "devconfig", screen, deviceRoot, false,
                              [&](ui::Screen& s, Clock& clock) {
                                  devconfig::runDevconfig(s, clock, store);
                                  return 0;
                              });
}
