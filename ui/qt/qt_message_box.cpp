#include "ui/qt/qt_message_box.h"

#include <QEvent>
#include <QLabel>
#include <QLayout>

namespace corvan::ui::qt {

namespace {

// A box no wider than the device's screen. Qt sizes a box from the desktop it is on (up to
// 500 pixels and more) each time it is shown or laid out; after it did, the box is narrowed
// to the screen's width with its text wrapped and its height following.
class DeviceMessageBox final : public QMessageBox {
  public:
    explicit DeviceMessageBox(int maxWidth) : maxWidth_(maxWidth) {}

  protected:
    void showEvent(QShowEvent* e) override {
        QMessageBox::showEvent(e);
        narrow();
    }
    bool event(QEvent* e) override {
        const bool done = QMessageBox::event(e);
        if (e->type() == QEvent::LayoutRequest) narrow();
        return done;
    }

  private:
    void narrow() {
        if (maxWidth_ <= 0 || width() <= maxWidth_) return;
        if (auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
            label->setWordWrap(true);
        const int height = layout() && layout()->hasHeightForWidth()
                               ? layout()->totalHeightForWidth(maxWidth_)
                               : this->height();
        setFixedSize(maxWidth_, height);
    }
    int maxWidth_;
};

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

QString breakableText(const QString& text) {
    // Words that fit a line stay as they are; a longer one (a path, a file name) breaks
    // after its separators and, failing those, every so many characters.
    constexpr int kLongWord = 24, kPiece = 16;
    const QChar zeroWidthSpace(0x200B);
    QString out;
    out.reserve(text.size() + text.size() / 8);
    auto addWord = [&](const QString& word) {
        if (word.size() <= kLongWord) {
            out += word;
            return;
        }
        int piece = 0;
        for (qsizetype i = 0; i < word.size(); ++i) {
            const QChar c = word[i];
            out += c;
            ++piece;
            const bool separator = c == '/' || c == '\\' || c == '_' || c == '.' || c == ':';
            if (i + 1 < word.size() && (separator || piece >= kPiece)) {
                out += zeroWidthSpace;
                piece = 0;
            }
        }
    };
    QString word;
    for (const QChar c : text) {
        if (!c.isSpace()) {
            word += c;
            continue;
        }
        addWord(word);
        word.clear();
        out += c;
    }
    addWord(word);
    return out;
}

std::unique_ptr<QMessageBox> buildMessageBox(const MessageBoxRequest& request, const QFont& font,
                                             int maxWidth) {
    std::unique_ptr<QMessageBox> box = std::make_unique<DeviceMessageBox>(maxWidth);
    box->setFont(font);
    box->setIcon(qtIcon(request.icon));
    box->setWindowTitle(QString::fromStdString(request.title));
    // Module texts break lines with CR LF; a lone CR would show as a box glyph.
    QString text = QString::fromStdString(request.text);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box->setTextFormat(Qt::PlainText);
    box->setText(maxWidth > 0 ? breakableText(text) : text);
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
