#pragma once
// Message boxes of the screen layer as QMessageBox: the button sets, the icons and the
// answers, and the answer a box gives when it is closed without a choice.
#include <QMessageBox>
#include <memory>

#include "ui/qt/qt_automation.h"

namespace corvan::ui::qt {

std::unique_ptr<QMessageBox> buildMessageBox(const MessageBoxRequest& request, const QFont& font);

// The answer of a clicked standard button; nullopt for a button the screen layer has no word for.
std::optional<Answer> answerOf(QMessageBox::StandardButton button);
QMessageBox::StandardButton standardButtonOf(Answer answer);
bool offers(Buttons buttons, Answer answer);

// What closing the box or Escape means: OK for an OK box, else the way out (No, Cancel), so
// an unattended run never loops on a question such as "RETRY?".
Answer escapeAnswer(Buttons buttons);

}  // namespace corvan::ui::qt
