#pragma once
// "Load Driver": the technician picks a driver file ("*.drv") of the installation and it is
// downloaded into the box by the box start-up's own download, without asking the box first
// what it runs.
#include <string>
#include <vector>

namespace corvan::boxservice {

struct ServiceHost;

// The folder of the driver files: "\" + install path + "\DRV", or "\DRV" at the root of the
// file system when the installation has none there.
struct DriverFiles {
    std::string folder;              // device path
    std::vector<std::string> names;  // sorted
};
DriverFiles findDriverFiles(const ServiceHost& host, const std::string& installPath);

void loadDriver(ServiceHost& host);

}  // namespace corvan::boxservice
