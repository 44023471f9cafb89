#include "shell/shell_settings.h"

#include "platform/device_root.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"
#include "shell/shell_host.h"
#include "ui/screen.h"

namespace corvan::shell {

std::string configFileLocation(std::string_view dataFolder) {
    std::string upper = asciiUpper(dataFolder);
    const size_t cut = upper.find("CORVANDATA");
    if (cut != std::string::npos) upper.resize(cut);
    return upper + "iCor.cfg";
}

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    if (from.empty()) return text;
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    for (size_t hit; (hit = text.find(from, pos)) != std::string::npos; pos = hit + from.size()) {
        out.append(text, pos, hit - pos);
        out.append(to);
    }
    out.append(text, pos, std::string::npos);
    return out;
}

std::string rewriteConfigText(std::string text, std::string_view currentLanguage,
                              std::string_view chosenLanguage, std::string_view currentPort,
                              std::string_view chosenPort) {
    // Nothing chosen in a list would wipe the value out of the file; keep it instead.
    if (!chosenLanguage.empty())
        text = replaceAll(std::move(text), currentLanguage, chosenLanguage);
    if (!chosenPort.empty()) text = replaceAll(std::move(text), currentPort, chosenPort);
    return text;
}

std::string configOpenError(std::string_view devicePath) {
    return "No es posible abrir fichero de configuración " + std::string(devicePath);
}

void LoadConfiguration(ShellSettings& settings, ShellHost& host) {
    const std::string path = configFileLocation(settings.dataFolder);
    const auto bytes = readWholeFile(host.root->toHost(path));
    if (!bytes) {
        host.screen->messageBox(configOpenError(path), "", ui::Buttons::Ok, ui::Icon::None);
        return;
    }
    const std::string text = cp1252ToUtf8(*bytes);
    settings.installPath = configValue(text, "PATH=");
    settings.port = configValue(text, "PORT=");
    settings.languageName = configValue(text, "LANGUAGE=");
    settings.languageIndex = languageIndexOf(settings.languageName);
}

}  // namespace corvan::shell
