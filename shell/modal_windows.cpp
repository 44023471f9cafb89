#include "shell/modal_windows.h"

#include "platform/clock.h"
#include "shell/menu_page.h"
#include "shell/screen_layout.h"
#include "shell/shell_host.h"
#include "shell/shell_settings.h"
#include "shell/shell_texts.h"

#ifndef CORVAN_SHELL_VERSION
#define CORVAN_SHELL_VERSION "0.0.0"
#endif

namespace corvan::shell {

using namespace layout;

namespace {

void okCloses(ui::Dialog& d) {
    ui::DialogHandlers h;
    h.onButton = [&d](int id) {
        if (id == kOk) d.setCommand("OK");
    };
    h.onClose = [&d] { d.setCommand("OK"); };
    d.setHandlers(std::move(h));
}

}  // namespace

std::string runModal(ShellHost& host, ui::Dialog& dialog) {
    for (;;) {
        host.screen->pumpMessages();
        std::string word = dialog.command();
        if (!word.empty()) {
            dialog.clearCommand();
            return word;
        }
        host.clock->sleepMs(1);
    }
}

void showConnectionPicture(ShellHost& host, const ShellSettings& settings,
                           const std::string& pictureName) {
    ui::DialogTemplate t;
    t.name = "CONEXION";
    t.rect = {0, 0, kScreenWidth, kScreenHeight};
    t.fullScreen = true;
    t.exitControl = kOk;
    t.controls = {
        control(kConnectionPicture, ui::ControlKind::Picture,
                {(kScreenWidth - 240) / 2, 4, 240, 180}),
        control(kOk, ui::ControlKind::Button, centred(kScreenWidth / 2, 214, 80, 28), "OK")};
    auto dialog = host.screen->createDialog(t);
    dialog->setPicture(kConnectionPicture,
                       existingHostFile(host, settings.dataFolder + "Imagenes\\Conexiones\\" +
                                                  pictureName + ".bmp"));
    okCloses(*dialog);
    dialog->show(true);
    runModal(host, *dialog);
}

std::string programVersionLine() {
    return std::string("eCorvanData ") + CORVAN_SHELL_VERSION;
}

void showAboutBox(ShellHost& host, const ShellSettings& settings) {
    ui::DialogTemplate t;
    t.name = "ACERCA";
    t.title = "eCorvanData";
    t.rect = {40, 56, 240, 120};
    t.exitControl = kOk;
    ui::ControlSpec name =
        control(kAboutName, ui::ControlKind::Label, {52, 12, 180, 18}, programVersionLine());
    name.font = tahoma(11, 800);
    t.controls = {control(kAboutIcon, ui::ControlKind::Picture, {10, 10, 32, 32}), name,
                  control(kAboutVersion, ui::ControlKind::Label, {52, 34, 180, 18}),
                  control(kOk, ui::ControlKind::Button, centred(120, 84, 80, 26), "OK")};
    auto dialog = host.screen->createDialog(t);
    dialog->setPicture(
        kAboutIcon, existingHostFile(host, settings.dataFolder + "Imagenes\\Botones\\Icono.bmp"));
    dialog->setText(kAboutVersion, slot(text::kVersionWord, settings.languageIndex) + ": " +
                                       host.installedVersion);
    okCloses(*dialog);
    dialog->show(true);
    runModal(host, *dialog);
}

std::unique_ptr<ui::Dialog> showBackground(ShellHost& host, const ShellSettings& settings) {
    ui::DialogTemplate t;
    t.name = "FONDO";
    t.rect = {0, 0, kScreenWidth, kScreenHeight};
    t.fullScreen = true;
    t.controls = {
        control(kBackground, ui::ControlKind::Picture, {0, 0, kScreenWidth, kScreenHeight})};
    auto dialog = host.screen->createDialog(t);
    dialog->setPicture(
        kBackground, existingHostFile(host, settings.dataFolder + "Imagenes\\Fondo-KELM_ZUL.bmp"));
    dialog->show(true);
    return dialog;
}

}  // namespace corvan::shell
