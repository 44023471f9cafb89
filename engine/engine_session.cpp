#include "engine/engine_session.h"

#include "engine/engine_host.h"
#include "engine/install_config.h"
#include "platform/device_root.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"

namespace corvan::engine {

std::optional<std::string> readDataRecord(const DeviceRoot& root, std::string_view installPath,
                                          std::string_view record, std::string* error) {
    if (record.empty()) {
        if (error) *error = "no data record named on the command line";
        return std::nullopt;
    }
    const std::string device = installFile(installPath, "FICHAS\\" + std::string(record));
    const auto bytes = readWholeFile(root.toHost(device));
    if (!bytes) {
        if (error) *error = "cannot read the data record " + device;
        return std::nullopt;
    }
    return cp1252ToUtf8(*bytes);
}

PluginOutcome runFunctionMenu(EngineHost& host, const std::string& text, const std::string& mode,
                              const std::string& name, int32_t language) {
    return callPluginNamed(host, kFunctionMenu, PluginCall{text, 0, mode, name}, language);
}

std::string additionalIdBlock(std::string_view configurationResult) {
    std::string block = "#ADITIONAL_ID\r\n\tID=\t[";
    block += configurationResult;
    block += "]\n\r#END";
    return block;
}

}  // namespace corvan::engine
