#pragma once
// The window a person uses: the Qt Widgets screen for the engine, with the application
// object it needs for its whole life. Built only when the Qt front end is.
#include <filesystem>
#include <memory>

#include "ui/screen.h"

class QApplication;

namespace corvan::engine {

class QtFront {
  public:
    // `argc` must stay alive as long as this object (Qt keeps a reference).
    QtFront(int& argc, char** argv);
    ~QtFront();

    // Bitmaps named by the dialogs are device paths under `root`.
    std::unique_ptr<ui::Screen> makeScreen(const std::filesystem::path& root);

    // Whether a window can be shown here (a display, or a Qt platform chosen explicitly).
    static bool displayAvailable();

  private:
    std::unique_ptr<QApplication> app_;
};

}  // namespace corvan::engine
