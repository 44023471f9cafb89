#include "shell/options_dialog.h"

#include <algorithm>

#include "platform/device_root.h"
#include "platform/file_io.h"
#include "platform/text_codec.h"
#include "shell/modal_windows.h"
#include "shell/screen_layout.h"
#include "shell/shell_host.h"
#include "shell/shell_settings.h"
#include "shell/shell_texts.h"

namespace corvan::shell {

using namespace layout;

namespace {

ui::DialogTemplate optionsTemplate(const ShellSettings& settings, const std::string& title) {
    ui::DialogTemplate t;
    t.name = "CONFIGURACION";
    t.title = title;
    t.rect = {16, 36, 288, 150};
    t.exitControl = kCancel;
    const int language = settings.languageIndex;
    auto label = [&](int id, int y, const LanguageText& text) {
        return control(id, ui::ControlKind::Label, {8, y + 3, 90, 18}, slot(text, language));
    };
    ui::ControlSpec folder = control(kFolderField, ui::ControlKind::Edit, {100, 44, 180, 20});
    folder.readOnly = true;
    ui::ControlSpec select =
        control(kOk, ui::ControlKind::Button, {40, 108, 90, 28}, std::string(text::kSelect));
    select.bitmap = settings.dataFolder + "Imagenes\\Botones\\Aceptar.bmp";
    ui::ControlSpec cancel =
        control(kCancel, ui::ControlKind::Button, {158, 108, 90, 28}, std::string(text::kCancel));
    cancel.bitmap = settings.dataFolder + "Imagenes\\Botones\\Cancelar.bmp";
    t.controls = {label(kLanguageLabel, 12, text::kLanguageLabel),
                  control(kLanguageList, ui::ControlKind::ComboBox, {100, 12, 180, 90}),
                  label(kFolderLabel, 44, text::kFolderLabel),
                  folder,
                  label(kPortLabel, 76, text::kPortLabel),
                  control(kPortList, ui::ControlKind::ComboBox, {100, 76, 180, 60}),
                  select,
                  cancel};
    return t;
}

int indexOf(const std::vector<std::string>& items, const std::string& text) {
    const auto it = std::find(items.begin(), items.end(), text);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

std::string currentText(const ui::Dialog& d, int id) {
    const int index = d.currentItem(id);
    const auto items = d.items(id);
    return index >= 0 && index < static_cast<int>(items.size()) ? items[index] : std::string();
}

}  // namespace

std::vector<std::string> languageChoices() {
    return {"SPANISH", "ENGLISH", "GERMAN", "PORTUGUESE"};
}

std::vector<std::string> portChoices(const std::string& currentPort) {
    std::vector<std::string> ports = {"COM1", "COM2"};
    if (!currentPort.empty() && indexOf(ports, currentPort) < 0) ports.push_back(currentPort);
    return ports;
}

bool applyOptions(ShellHost& host, ShellSettings& settings, const std::string& chosenLanguage,
                  const std::string& chosenPort) {
    const std::string path = configFileLocation(settings.dataFolder);
    const auto file = host.root->toHost(path);
    const auto bytes = readWholeFile(file);
    if (!bytes) {
        host.screen->messageBox(configOpenError(path), "", ui::Buttons::Ok, ui::Icon::None);
        return false;
    }
    const std::string text = rewriteConfigText(cp1252ToUtf8(*bytes), settings.languageName,
                                               chosenLanguage, settings.port, chosenPort);
    // The device deleted the file and created it anew; written in place like that a power
    // cut in between would lose the installation's configuration.
    if (!writeFileAtomic(file, utf8ToCp1252(text))) {
        host.screen->messageBox(configOpenError(path), "", ui::Buttons::Ok, ui::Icon::None);
        return false;
    }
    removeLeftTemporaries(file);
    if (!chosenLanguage.empty()) {
        const int index = languageIndexOf(chosenLanguage);
        settings.languageIndex = index;
        settings.languageName = index == 0 ? "SPANISH" : chosenLanguage;
    }
    return true;
}

bool OptionsDialog(ShellHost& host, ShellSettings& settings, const std::string& title) {
    auto dialog = host.screen->createDialog(optionsTemplate(settings, title));
    ui::Dialog& d = *dialog;
    const auto languages = languageChoices();
    const auto ports = portChoices(settings.port);
    d.setItems(kLanguageList, languages);
    d.setCurrentItem(kLanguageList, indexOf(languages, settings.languageName));
    d.setItems(kPortList, ports);
    d.setCurrentItem(kPortList, indexOf(ports, settings.port));
    d.setText(kFolderField, settings.installPath);
    ui::DialogHandlers h;
    h.onButton = [&d](int id) {
        if (id == kOk) d.setCommand("SELECT");
        if (id == kCancel) d.setCommand("CANCEL");
    };
    h.onClose = [&d] { d.setCommand("CANCEL"); };
    d.setHandlers(std::move(h));
    d.show(true);

    // "No" to the question leaves the dialog open: the technician may choose again or cancel.
    for (;;) {
        if (runModal(host, d) != "SELECT") return false;
        const std::string question = slot(text::kApplyQuestion, settings.languageIndex);
        if (host.screen->messageBox(question, "", ui::Buttons::YesNo, ui::Icon::Question) !=
            ui::Answer::Yes)
            continue;
        return applyOptions(host, settings, currentText(d, kLanguageList),
                            currentText(d, kPortList));
    }
}

}  // namespace corvan::shell
