#include "shell/connect_prompt.h"

#include "shell/menu_page.h"
#include "shell/modal_windows.h"
#include "shell/screen_layout.h"
#include "shell/shell_host.h"
#include "shell/shell_settings.h"
#include "shell/shell_texts.h"

namespace corvan::shell {

using namespace layout;

std::string smallConnectionPicture(const std::string& connectionPicture) {
    const size_t keep = connectionPicture.size() >= 3 ? connectionPicture.size() - 3 : 0;
    return "Imagenes\\Conexiones\\Small\\" + connectionPicture.substr(0, keep) + "bmp";
}

std::optional<bool> ConnectPrompt(ShellHost& host, const ShellSettings& settings,
                                  const std::string& connectionPicture) {
    const int language = settings.languageIndex;
    ui::DialogTemplate t;
    t.name = "CONTACTO";
    t.title = "eCorvanData";
    t.rect = {20, 12, 280, 196};  // centred over the main window, caption included
    t.exitControl = kCancel;
    ui::ControlSpec prompt = control(kPromptText, ui::ControlKind::Label, {8, 4, 264, 44},
                                     slot(text::kIgnitionPrompt, language));
    prompt.font = tahoma(18, 800);
    ui::ControlSpec select =
        control(kOk, ui::ControlKind::Button, {34, 150, 90, 28}, std::string(text::kSelect));
    select.bitmap = settings.dataFolder + "Imagenes\\Botones\\Aceptar.bmp";
    ui::ControlSpec cancel =
        control(kCancel, ui::ControlKind::Button, {156, 150, 90, 28}, std::string(text::kCancel));
    cancel.bitmap = settings.dataFolder + "Imagenes\\Botones\\Cancelar.bmp";
    t.controls = {prompt,
                  control(kReloadDriver, ui::ControlKind::CheckBox, {8, 50, 264, 22},
                          slot(text::kReloadDriverCheck, language)),
                  control(kPromptPicture, ui::ControlKind::Picture,
                          centred(140, 110, kPictureWidth, kPictureHeight)),
                  select, cancel};

    auto dialog = host.screen->createDialog(t);
    ui::Dialog& d = *dialog;
    d.setChecked(kReloadDriver, false);
    d.setPicture(
        kPromptPicture,
        existingHostFile(host, settings.dataFolder + smallConnectionPicture(connectionPicture)));
    ui::DialogHandlers h;
    h.onButton = [&d](int id) {
        if (id == kOk) d.setCommand("SELECT");
        if (id == kCancel) d.setCommand("CANCEL");
    };
    h.onClose = [&d] { d.setCommand("CANCEL"); };
    d.setHandlers(std::move(h));
    d.show(true);
    if (runModal(host, d) != "SELECT") return std::nullopt;
    return d.isChecked(kReloadDriver);
}

}  // namespace corvan::shell
