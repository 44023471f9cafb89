#pragma once
// The seam through which something other than a person works the Qt screens: a technician
// script in tests, screenshot runs and support sessions. With an automation attached, message
// boxes are answered through it instead of a nested modal loop, and every pumpMessages() lets
// it act on the dialogs on screen as a technician would (tap, type, press, close).
#include <optional>
#include <string>
#include <vector>

#include "ui/screen.h"

namespace corvan::ui::qt {

class QtDialog;

struct MessageBoxRequest {
    std::string text;
    std::string title;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
};

class QtAutomation {
  public:
    virtual ~QtAutomation() = default;

    // A message box is on screen: the answer to give, or nullopt to leave it to a person (or,
    // on a screen nobody watches, to the box's escape answer).
    virtual std::optional<Answer> answer(const MessageBoxRequest& box) = 0;

    // Called at the end of every pumpMessages() with the dialogs on screen, in the order they
    // were created. It
    // may act on them through QtDialog's technician actions; it must not pump.
    virtual void act(const std::vector<QtDialog*>& shown) = 0;

    // A dialog came into being, or is about to go (its widgets still hold its last state).
    virtual void dialogCreated(QtDialog* dialog) { (void)dialog; }
    virtual void dialogDestroyed(QtDialog* dialog) { (void)dialog; }

    // Whether the automation holds a key down (0x11: Control), beside the real keyboard.
    virtual bool keyDown(int virtualKey) const {
        (void)virtualKey;
        return false;
    }
};

}  // namespace corvan::ui::qt
