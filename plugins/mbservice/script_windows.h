#pragma once
// The windows a service script opens: the message window that stays for the whole run, and
// the choice list, the text input and the code entry, each of which lives for one statement
// and pumps window messages until the technician has answered.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/module_context.h"
#include "runtime/text_table.h"
#include "ui/dialog_template.h"
#include "ui/screen.h"

namespace corvan::mbservice {

// Template names (the screen dump and the screenshots use them) and control identifiers.
inline constexpr std::string_view kMessageWindowName = "SCRIPTMSG";
inline constexpr std::string_view kChoiceWindowName = "CHOICE";
inline constexpr std::string_view kInputWindowName = "TEXTINPUT";
inline constexpr std::string_view kCodeWindowName = "CODEENTRY";
inline constexpr int kOkId = 1;
inline constexpr int kCancelId = 2;
inline constexpr int kMessageTextId = 1001;
inline constexpr int kMessageProgressId = 1002;
inline constexpr int kChoiceListId = 1003;
inline constexpr int kPromptId = 1004;
inline constexpr int kTextFieldId = 1005;
inline constexpr int kCodeAlphaFieldId = 1006;
inline constexpr int kCodeDigitsFieldId = 1007;

inline constexpr std::string_view kChoiceTitle = "ELIJA OPCION";
// The module holds the heading in every language but always shows the Spanish one.
inline constexpr TextTable kOptionsHeading = {"OPCIONES", "OPTIONS", "OPTIONEN",
                                              "OPCIONES", "OPTIONS", "OPÇÕES"};

// The message window: created hidden when a run starts, destroyed when it ends. Its
// "Cancel" button does nothing: a running procedure is never broken off half-way.
class MessageWindow {
  public:
    explicit MessageWindow(const ModuleContext& ctx);
    ~MessageWindow();
    MessageWindow(const MessageWindow&) = delete;
    MessageWindow& operator=(const MessageWindow&) = delete;

    void show(const std::string& text);
    void setProgress(int position);  // shows the bar; the bar's range is 0 to 100
    void hide();                     // the bar and the window
    // A plug-in the script runs brings its own window: this one steps aside meanwhile.
    bool hideForCall();
    void showAfterCall(bool wasVisible);

  private:
    const ModuleContext& ctx_;
    std::unique_ptr<ui::Dialog> dialog_;
};

// The chosen row (from 0), or nullopt for Cancel.
std::optional<int> chooseRow(const ModuleContext& ctx, const std::vector<std::string>& rows);

// The typed text, or nullopt for Cancel.
std::optional<std::string> askText(const ModuleContext& ctx, const std::string& prompt);

// A code of exactly `length` characters: upper-case letters and digits, or digits only
// (a digits-only entry holding anything else shows the prompt and is asked again).
// nullopt for Cancel.
std::optional<std::string> enterCode(const ModuleContext& ctx, const std::string& prompt,
                                     int length, bool alphanumeric);

ui::DialogTemplate messageTemplate();
ui::DialogTemplate choiceTemplate();
ui::DialogTemplate inputTemplate();
ui::DialogTemplate codeTemplate(int length);

}  // namespace corvan::mbservice
