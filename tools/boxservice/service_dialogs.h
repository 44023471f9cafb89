#pragma once
// The small dialogs of the service program: a list to choose one entry from (devices in
// range, driver files), the question for a text (the Bluetooth PIN) and a progress window.
// Each runs its own loop: the buttons set a command word, the loop pumps and acts on it.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/screen.h"

namespace corvan {
class Clock;
}

namespace corvan::boxservice {

inline constexpr int kChoiceListId = 100;
inline constexpr int kOkId = 1;
inline constexpr int kCancelId = 2;
inline constexpr int kPromptId = 10;
inline constexpr int kEntryId = 11;
inline constexpr int kProgressTextId = 20;
inline constexpr int kProgressBarId = 21;

// Pauses of the dialogs' loops between pumps while nobody acts.
inline constexpr int kIdleRestMs = 10;

// The row chosen with OK (the first row is preselected), or -1 after Cancel or the close box.
int chooseFromList(ui::Screen& screen, Clock& clock, std::string_view name,
                   const std::string& title, const std::vector<std::string>& rows);

// The text typed before OK (the close box counts as OK with what was typed).
std::string askForText(ui::Screen& screen, Clock& clock, std::string_view name,
                       const std::string& title, const std::string& prompt);

// A window with one line of text and a progress bar from 0 to 100, shown while it lives.
class ProgressDialog {
  public:
    ProgressDialog(ui::Screen& screen, const std::string& title, const std::string& text);
    ~ProgressDialog();
    void setText(const std::string& text);
    void setProgress(int percent);

  private:
    ui::Screen& screen_;
    std::unique_ptr<ui::Dialog> dialog_;
};

}  // namespace corvan::boxservice
