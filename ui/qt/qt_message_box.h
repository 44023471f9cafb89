#pragma once
// Message boxes of the screen layer as QMessageBox: the button sets, the icons and the
// answers, and the answer a box gives when it is closed without a choice.
#include <QMessageBox>
#include <memory>

#include "ui/qt/qt_automation.h"

namespace corvan::ui::qt {

// `maxWidth`: the widest the box may be (the device's screen, 320 pixels times the scale);
// longer texts wrap, long words and paths included. 0: as wide as Qt makes it.
std::unique_ptr<QMessageBox> buildMessageBox(const MessageBoxRequest& request, const QFont& font,
                                             int maxWidth = 0);

// The text with invisible break chances in runs too long for a line (paths, file names),
// so a wrapped box never cuts a word it cannot break.
QString breakableText(const QString& text);

// The answer of a clicked standard button; nullopt for a button the screen layer has no word for.
std::optional<Answer> answerOf(QMessageBox::StandardButton button);
QMessageBox::StandardButton standardButtonOf(Answer answer);
bool offers(Buttons buttons, Answer answer);

// What closing the box or Escape means: OK for an OK box, else the way out (No, Cancel), so
// an unattended run never loops on a question such as "RETRY?".
Answer escapeAnswer(Buttons buttons);

}  // namespace corvan::ui::qt
