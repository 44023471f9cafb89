#include "ui/qt/qt_message_box.h"

namespace corvan::ui::qt {

namespace {

QMessageBox::StandardButtons standardButtons(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
            return QMessageBox::Ok;
        case Buttons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case Buttons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
        case Icon::None:
            return QMessageBox::NoIcon;
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::Stop:
            return QMessageBox::Critical;
        case Icon::Warning:
            return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

std::unique_ptr<QMessageBox> buildMessageBox(const MessageBoxRequest& request, const QFont& font) {
    auto box = std::make_unique<QMessageBox>();
    box->setFont(font);
    box->setIcon(qtIcon(request.icon));
    box->setWindowTitle(QString::fromStdString(request.title));
    // Module texts break lines with CR LF; a lone CR would show as a box glyph.
    QString text = QString::fromStdString(request.text);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box->setTextFormat(Qt::PlainText);
    box->setText(text);
    box->setStandardButtons(standardButtons(request.buttons));
    box->setDefaultButton(standardButtonOf(request.buttons == Buttons::RetryCancel ? Answer::Retry
                                           : request.buttons == Buttons::Ok        ? Answer::Ok
                                                                                   : Answer::Yes));
    box->setEscapeButton(standardButtonOf(escapeAnswer(request.buttons)));
    return box;
}

std::optional<Answer> answerOf(QMessageBox::StandardButton button) {
    switch (button) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Retry:
            return Answer::Retry;
        default:
            return std::nullopt;
    }
}

QMessageBox::StandardButton standardButtonOf(Answer answer) {
    switch (answer) {
        case Answer::Ok:
            return QMessageBox::Ok;
        case Answer::Yes:
            return QMessageBox::Yes;
        case Answer::No:
            return QMessageBox::No;
        case Answer::Cancel:
            return QMessageBox::Cancel;
        case Answer::Retry:
            return QMessageBox::Retry;
    }
    return QMessageBox::Ok;
}

bool offers(Buttons buttons, Answer answer) {
    return standardButtons(buttons).testFlag(standardButtonOf(answer));
}

Answer escapeAnswer(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::YesNoCancel:
        case Buttons::RetryCancel:
            return Answer::Cancel;
    }
    return Answer::Ok;
}

}  // namespace corvan::ui::qt
