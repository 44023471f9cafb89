#pragma once
// The device file system is a host folder. Device paths ("\STORAGE CARD\CORVANDATA\x.mnu",
// or relative paths that the device takes from its root) map into it with "\" as "/" and
// each component matched case-insensitively, as the device's file system does.
#include <filesystem>
#include <string>
#include <string_view>

namespace corvan {

class DeviceRoot {
public:
    DeviceRoot() = default;
    explicit DeviceRoot(std::filesystem::path hostRoot) : root_(std::move(hostRoot)) {}

    const std::filesystem::path& hostRoot() const { return root_; }

    // Host path of a device path. Components that exist are matched case-insensitively;
    // the first one that does not exist and all after it are kept as written, so the result
    // can name a file about to be created. "." and ".." never leave the root.
    std::filesystem::path toHost(std::string_view devicePath) const;

    // Device path ("\A\B") of a host path inside the root; empty when it lies outside.
    std::string toDevice(const std::filesystem::path& hostPath) const;

    // The device path of the running program (the engine is "\...\EXE\ECOR.EXE"); set by
    // the program at start-up, read by ReadDataPath.
    void setProgramPath(std::string devicePath) { program_ = std::move(devicePath); }
    const std::string& programPath() const { return program_; }

private:
    std::filesystem::path root_;
    std::string program_;
};

}  // namespace corvan
