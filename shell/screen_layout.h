#pragma once
// Where things sit on the 320 x 240 screen, and the identifiers of the shell's controls.
#include "ui/dialog_template.h"

namespace corvan::shell::layout {

inline constexpr int kScreenWidth = 320;
inline constexpr int kScreenHeight = 240;
inline constexpr int kBarHeight = 26;  // the command bar across the top
// The page: the frame's client area below the command bar.
inline constexpr int kPageTop = kBarHeight;
inline constexpr int kPageWidth = kScreenWidth;
inline constexpr int kPageHeight = kScreenHeight - kBarHeight;

// Size of the picture box of the pages (logos, model and connector pictures are drawn for it).
inline constexpr int kPictureWidth = 96;
inline constexpr int kPictureHeight = 60;

// Controls of a page.
enum PageIds {
    kSelect = 1,
    kList = 100,
    kPicture = 101,
    kHeader = 102,
};

// The command bar, part of every page.
enum BarIds {
    kHome = 201,
    kBack = 202,
    kAbout = 203,
    kToggleNormal = 204,      // the simulation toggle, as drawn while simulation is off
    kToggleSimulation = 205,  // ... and while it is on
    kSimulationEntry = 206,   // the menu entry titled "SIMULADOR"
};

// Modal windows.
enum ModalIds {
    kOk = 1,  // "SELECT" / "OK"
    kCancel = 2,
    kLanguageLabel = 301,
    kFolderLabel = 302,
    kPortLabel = 303,
    kLanguageList = 311,
    kFolderField = 312,
    kPortList = 313,
    kPromptText = 401,
    kReloadDriver = 402,
    kPromptPicture = 403,
    kConnectionPicture = 501,
    kBackground = 601,
    kAboutIcon = 701,
    kAboutName = 702,
    kAboutVersion = 703,
};

inline ui::FontSpec tahoma(int pixelHeight, int weight) {
    return ui::FontSpec{"Tahoma", pixelHeight, weight, false};
}

// A rectangle of size w x h centred on (cx, cy).
inline ui::Rect centred(int cx, int cy, int w, int h) {
    return ui::Rect{cx - w / 2, cy - h / 2, w, h};
}

inline ui::ControlSpec control(int id, ui::ControlKind kind, ui::Rect rect, std::string text = {}) {
    return ui::makeControl(id, kind, rect, std::move(text));
}

}  // namespace corvan::shell::layout
