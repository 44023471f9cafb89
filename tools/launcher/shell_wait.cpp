#include "tools/launcher/shell_wait.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/clock.h"
#include "platform/device_root.h"

namespace corvan::launcher {

ProbeResult probeFile(const std::filesystem::path& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) == 0) return ProbeResult::Present;
    return errno == ENOENT ? ProbeResult::Missing : ProbeResult::Failed;
}

std::filesystem::path shellFile(const DeviceRoot& root) {
    return root.toHost(kShellProgram);
}

ProbeResult probeShell(const DeviceRoot& root) {
    return probeFile(shellFile(root));
}

ProbeResult waitForShellFile(const std::function<ProbeResult()>& probe, Clock& clock) {
    for (;;) {
        const ProbeResult result = probe();
        if (result != ProbeResult::Missing) return result;
        clock.sleepMs(kProbeIntervalMs);
    }
}

}  // namespace corvan::launcher
