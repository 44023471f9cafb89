#pragma once
// Whether a person can see the windows a program would open, decided from the environment
// alone, so that a program can choose its screen before it loads any toolkit.
namespace corvan::ui {

// An X11 or Wayland display, or a Qt platform named in QT_QPA_PLATFORM other than
// offscreen and minimal.
bool displayAvailable();

}  // namespace corvan::ui
