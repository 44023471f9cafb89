#pragma once
// The start-up loader's wait for the storage card: the shell lives on the card, which the
// system mounts some time after power-up, so its program file is probed until it can be
// reached.
#include <filesystem>
#include <functional>

namespace corvan {
class Clock;
class DeviceRoot;
}  // namespace corvan

namespace corvan::launcher {

enum class ProbeResult {
    Present,
    Missing,  // "file not found" (ENOENT): the card is not there yet
    Failed,   // any other error: no point in waiting
};

// The shell's program file as the device names it.
inline constexpr const char* kShellProgram = "\\STORAGE CARD\\CORVANDATA\\ECORVANDATA.EXE";
inline constexpr int kProbeIntervalMs = 200;

// Probes a host file.
ProbeResult probeFile(const std::filesystem::path& file);

// The shell's program file on the host, resolved now: the card's folders are matched
// without regard to letter case, and a card mounted after the loader started may spell
// them differently from the path the loader saw before, so every probe resolves afresh.
std::filesystem::path shellFile(const DeviceRoot& root);
ProbeResult probeShell(const DeviceRoot& root);

// Probes at once, then every 200 ms on `clock` while the file is missing; returns the first
// other result. No time limit: a card that never comes keeps the loader waiting.
ProbeResult waitForShellFile(const std::function<ProbeResult()>& probe, Clock& clock);

}  // namespace corvan::launcher
