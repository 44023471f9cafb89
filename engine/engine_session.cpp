#include "engine/engine_session.h"

#include "engine/engine_host.h"
#include "engine/install_config.h"
#include "platform/device_root.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"

namespace corvan::engine {

std::optional<std::string> readDataRecord(const DeviceRoot& root, std::string_view installPath,
                                          std::string_view record, std::string* error,
                                          std::string* note) {
    if (record.empty()) {
        if (error) *error = "no data record named on the command line";
        return std::nullopt;
    }
    const std::string device = installFile(installPath, "FICHAS\\" + std::string(record));
    auto bytes = readWholeFile(root.toHost(device));
    if (!bytes) {
        if (error) *error = "cannot read the data record " + device;
        return std::nullopt;
    }
    const size_t nul = bytes->find('\0');
    if (nul != std::string::npos) {
        if (note)
            *note = "the data record " + device + " holds a NUL byte at offset " +
                    std::to_string(nul) + ": the plug-ins get the text up to there";
        bytes->resize(nul);
    }
    return cp1252ToUtf8(*bytes);
}

PluginOutcome runFunctionMenu(EngineHost& host, const std::string& text, const std::string& mode,
                              const std::string& name, int32_t language) {
    return callPluginNamed(host, kFunctionMenu, PluginCall{text, 0, mode, name}, language);
}

}  // namespace corvan::engine
