#include "ui/qt/qt_dialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>

#include "ui/qt/qt_controls.h"
#include "ui/qt/qt_graph.h"
#include "ui/qt/qt_list_view.h"
#include "ui/qt/qt_screen.h"

namespace corvan::ui::qt {

namespace {

// A top-level window whose close box reports to the module instead of closing: the module
// decides, in its own loop, when its dialog goes away.
class DialogWindow : public QWidget {
  public:
    explicit DialogWindow(std::function<bool()> onCloseBox) : onCloseBox_(std::move(onCloseBox)) {}

  protected:
    void closeEvent(QCloseEvent* event) override {
        if (onCloseBox_())
            event->ignore();
        else
            QWidget::closeEvent(event);
    }

  private:
    std::function<bool()> onCloseBox_;
};

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// The template's size on screen; a portrait dialog stands upright whatever the hint says.
QSize windowSize(const DialogTemplate& t, int scale) {
    int w = t.rect.w > 0 ? t.rect.w : 320, h = t.rect.h > 0 ? t.rect.h : 240;
    if (t.portrait && w > h) std::swap(w, h);
    return QSize(w * scale, h * scale);
}

// Sends the key presses that type `text`, so validators, capitals and length limits act on
// it exactly as they act on a person's typing.
void typeKeys(QWidget* target, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(target, &release);
    }
}

// A tap on a picture reaches the module as a button press (the shell's connector picture
// opens a larger one).
class TapFilter : public QObject {
  public:
    TapFilter(QObject* parent, std::function<void()> onTap)
        : QObject(parent), onTap_(std::move(onTap)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease) onTap_();
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> onTap_;
};

}  // namespace

QtDialog::QtDialog(QtScreen& screen, const DialogTemplate& t) : screen_(screen), template_(t) {
    window_ = std::make_unique<DialogWindow>([this] {
        if (!handlers_.onClose) return false;
        handlers_.onClose();
        return true;
    });
    const int scale = screen_.scale();
    Qt::WindowFlags flags =
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    if (t.fullScreen) flags = Qt::Window | Qt::FramelessWindowHint;
    window_->setWindowFlags(flags);
    window_->setObjectName(qs(t.name));
    window_->setWindowTitle(qs(t.title));
    window_->setFont(screen_.systemFont());
    window_->setFixedSize(windowSize(t, scale));
    window_->move(screen_.screenOrigin() + QPoint(t.rect.x, t.rect.y) * scale);

    ControlContext ctx{window_.get(), scale,
                       [this](const std::string& p) { return screen_.bitmapFile(p); }};
    for (const ControlSpec& spec : t.controls) {
        QWidget* widget = createControl(spec, ctx);
        // A repeated id reaches only its first control.
        auto [it, added] = controls_.try_emplace(spec.id, Control{spec, widget, {}, {}});
        if (!added) continue;
        if (spec.kind == ControlKind::Radio) {
            QButtonGroup*& group = radioGroups_[spec.group];
            if (!group) group = new QButtonGroup(window_.get());
            group->addButton(static_cast<QAbstractButton*>(widget));
        }
        connectSignals(it->second);
    }
    progressTimer_ = new QTimer(window_.get());
    progressTimer_->setSingleShot(true);
    QObject::connect(progressTimer_, &QTimer::timeout, [this] { paintProgress(); });
    screen_.attach(this);
}

QtDialog::~QtDialog() {
    screen_.detach(this);
    if (window_->isVisible()) screenshot("closed");
}

void QtDialog::connectSignals(const Control& c) {
    const int id = c.spec.id;
    auto report = [this](auto member, auto... args) {
        if (!moduleChange_ && handlers_.*member) (handlers_.*member)(args...);
    };
    QWidget* w = c.widget;
    switch (c.spec.kind) {
        case ControlKind::Button:
        case ControlKind::CheckBox:
            QObject::connect(static_cast<QAbstractButton*>(w), &QAbstractButton::clicked,
                             window_.get(), [=] { report(&DialogHandlers::onButton, id); });
            break;
        case ControlKind::Radio:
            QObject::connect(static_cast<QAbstractButton*>(w), &QAbstractButton::clicked,
                             window_.get(),
                             [=] { report(&DialogHandlers::onSelectionChange, id); });
            break;
        case ControlKind::ComboBox:
            QObject::connect(static_cast<QComboBox*>(w), &QComboBox::activated, window_.get(),
                             [=] { report(&DialogHandlers::onSelectionChange, id); });
            break;
        case ControlKind::Edit:
            if (auto* line = qobject_cast<QLineEdit*>(w))
                QObject::connect(line, &QLineEdit::textChanged, window_.get(),
                                 [=] { report(&DialogHandlers::onTextChange, id); });
            else if (auto* area = qobject_cast<QPlainTextEdit*>(w))
                QObject::connect(area, &QPlainTextEdit::textChanged, window_.get(),
                                 [=] { report(&DialogHandlers::onTextChange, id); });
            break;
        case ControlKind::ListView: {
            auto* list = static_cast<QTreeWidget*>(w);
            QObject::connect(
                list, &QTreeWidget::itemClicked, window_.get(), [=](QTreeWidgetItem* item) {
                    report(&DialogHandlers::onRowTap, id, list->indexOfTopLevelItem(item));
                });
            QObject::connect(
                list, &QTreeWidget::itemDoubleClicked, window_.get(), [=](QTreeWidgetItem* item) {
                    report(&DialogHandlers::onRowDoubleTap, id, list->indexOfTopLevelItem(item));
                });
            break;
        }
        case ControlKind::Picture:
            w->installEventFilter(new TapFilter(w, [=] { report(&DialogHandlers::onButton, id); }));
            break;
        default:
            break;
    }
}

const QtDialog::Control* QtDialog::find(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : &it->second;
}

QtDialog::Control* QtDialog::find(int id) {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : &it->second;
}

QWidget* QtDialog::control(int id) const {
    const Control* c = find(id);
    return c ? c->widget : nullptr;
}

void QtDialog::screenshot(const char* event) {
    paintProgress();
    screen_.screenshots().save(window_.get(), template_.name.empty() ? title() : template_.name,
                               event, window_->windowTitle(), !template_.fullScreen,
                               screen_.scale());
}

// --- window ---------------------------------------------------------------------------

void QtDialog::setTitle(const std::string& title) {
    window_->setWindowTitle(qs(title));
}

std::string QtDialog::title() const {
    return window_->windowTitle().toStdString();
}

void QtDialog::show(bool visible) {
    if (visible == window_->isVisible()) return;
    if (!visible) {
        screenshot("hidden");
        window_->hide();
        return;
    }
    showOrder_ = screen_.nextShowOrder();
    window_->show();
    if (screen_.onDisplay()) {
        window_->raise();
        window_->activateWindow();
    }
    screenshot("shown");
}

bool QtDialog::isVisible() const {
    return window_->isVisible();
}

// --- any control ----------------------------------------------------------------------

void QtDialog::setText(int id, const std::string& text) {
    Control* c = find(id);
    if (!c || !kindHasText(c->spec.kind)) return;
    moduleChange_ = true;
    setControlText(c->widget, c->spec.kind, qs(text));
    moduleChange_ = false;
}

std::string QtDialog::text(int id) const {
    const Control* c = find(id);
    return c ? controlText(c->widget, c->spec.kind).toStdString() : std::string();
}

void QtDialog::setEnabled(int id, bool enabled) {
    if (Control* c = find(id)) c->widget->setEnabled(enabled);
}

bool QtDialog::isEnabled(int id) const {
    const Control* c = find(id);
    return c && c->widget->isEnabledTo(window_.get());
}

void QtDialog::setControlVisible(int id, bool visible) {
    if (Control* c = find(id)) c->widget->setVisible(visible);
}

bool QtDialog::isControlVisible(int id) const {
    const Control* c = find(id);
    return c && !c->widget->isHidden();
}

// --- list views -----------------------------------------------------------------------

namespace {
QTreeWidget* listOf(QWidget* w) {
    return qobject_cast<QTreeWidget*>(w);
}
}  // namespace

void QtDialog::setColumns(int id, const std::vector<Column>& columns) {
    Control* c = find(id);
    if (!c || !listOf(c->widget)) return;
    c->columns = columns;
    setListColumns(listOf(c->widget), columns, screen_.scale());
}

std::vector<Column> QtDialog::columns(int id) const {
    const Control* c = find(id);
    return c ? c->columns : std::vector<Column>{};
}

void QtDialog::clearRows(int id) {
    if (Control* c = find(id); c && listOf(c->widget)) listOf(c->widget)->clear();
}

int QtDialog::addRow(int id, const std::vector<std::string>& cells) {
    Control* c = find(id);
    if (!c || !listOf(c->widget)) return -1;
    return addListRow(listOf(c->widget), cells);
}

void QtDialog::setCell(int id, int row, int column, const std::string& text) {
    if (Control* c = find(id); c && listOf(c->widget))
        setListCell(listOf(c->widget), row, column, qs(text));
}

std::string QtDialog::cell(int id, int row, int column) const {
    const Control* c = find(id);
    if (!c || !listOf(c->widget)) return {};
    return listCell(listOf(c->widget), row, column).toStdString();
}

int QtDialog::rowCount(int id) const {
    const Control* c = find(id);
    return c && listOf(c->widget) ? listOf(c->widget)->topLevelItemCount() : 0;
}

void QtDialog::setRowGrey(int id, int row, bool grey) {
    if (Control* c = find(id); c && listOf(c->widget)) setListRowGrey(listOf(c->widget), row, grey);
}

bool QtDialog::isRowGrey(int id, int row) const {
    const Control* c = find(id);
    return c && listOf(c->widget) && isListRowGrey(listOf(c->widget), row);
}

int QtDialog::selectedRow(int id) const {
    const Control* c = find(id);
    return c && listOf(c->widget) ? selectedListRow(listOf(c->widget)) : -1;
}

void QtDialog::selectRow(int id, int row) {
    if (Control* c = find(id); c && listOf(c->widget)) selectListRow(listOf(c->widget), row);
}

// --- check boxes, radio choices, drop-downs, progress bars, pictures ---------------------

void QtDialog::setChecked(int id, bool checked) {
    Control* c = find(id);
    if (!c) return;
    auto* b = qobject_cast<QAbstractButton*>(c->widget);
    if (!b || !b->isCheckable()) return;
    // An exclusive group refuses to clear its chosen radio; the module may clear it.
    QButtonGroup* group = b->group();
    const bool exclusive = group && group->exclusive();
    if (exclusive && !checked) group->setExclusive(false);
    b->setChecked(checked);
    if (exclusive && !checked) group->setExclusive(true);
}

bool QtDialog::isChecked(int id) const {
    const Control* c = find(id);
    auto* b = c ? qobject_cast<QAbstractButton*>(c->widget) : nullptr;
    return b && b->isChecked();
}

void QtDialog::setItems(int id, const std::vector<std::string>& items) {
    Control* c = find(id);
    auto* combo = c ? qobject_cast<QComboBox*>(c->widget) : nullptr;
    if (!combo) return;
    QStringList list;
    for (const auto& item : items) list << qs(item);
    combo->clear();
    combo->addItems(list);
    // The device's drop-down starts with nothing chosen until the module picks an item.
    combo->setCurrentIndex(-1);
}

std::vector<std::string> QtDialog::items(int id) const {
    const Control* c = find(id);
    auto* combo = c ? qobject_cast<QComboBox*>(c->widget) : nullptr;
    std::vector<std::string> out;
    if (combo)
        for (int i = 0; i < combo->count(); ++i) out.push_back(combo->itemText(i).toStdString());
    return out;
}

void QtDialog::setCurrentItem(int id, int index) {
    Control* c = find(id);
    auto* combo = c ? qobject_cast<QComboBox*>(c->widget) : nullptr;
    if (combo) combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

int QtDialog::currentItem(int id) const {
    const Control* c = find(id);
    auto* combo = c ? qobject_cast<QComboBox*>(c->widget) : nullptr;
    return combo ? combo->currentIndex() : -1;
}

void QtDialog::setRange(int id, int low, int high) {
    Control* c = find(id);
    auto* bar = c ? qobject_cast<QProgressBar*>(c->widget) : nullptr;
    if (!bar) return;
    bar->setRange(low, std::max(low, high));
    c->value = std::clamp(c->value, bar->minimum(), bar->maximum());
    bar->setValue(c->value);
}

void QtDialog::setProgress(int id, int value) {
    Control* c = find(id);
    auto* bar = c ? qobject_cast<QProgressBar*>(c->widget) : nullptr;
    if (!bar) return;
    // The device's bar pins a value outside its range to the nearer end.
    c->value = std::clamp(value, bar->minimum(), bar->maximum());
    if (c->value == bar->value() && !progressWaiting_) return;
    progressWaiting_ = true;
    paintDueProgress();
    if (progressWaiting_ && !progressTimer_->isActive()) {
        const auto wait = screen_.progressPaintEvery() - (screen_.now() - *lastProgressPaint_);
        progressTimer_->start(std::max(std::chrono::milliseconds(1),
                                       std::chrono::ceil<std::chrono::milliseconds>(wait)));
    }
}

int QtDialog::progress(int id) const {
    const Control* c = find(id);
    return c && qobject_cast<QProgressBar*>(c->widget) ? c->value : 0;
}

void QtDialog::paintDueProgress() {
    if (!progressWaiting_) return;
    // A hidden window paints nothing: its bars take their values at once.
    if (!window_->isVisible() || !lastProgressPaint_ ||
        screen_.now() - *lastProgressPaint_ >= screen_.progressPaintEvery())
        paintProgress();
}

void QtDialog::paintProgress() {
    if (!progressWaiting_) return;
    progressWaiting_ = false;
    progressTimer_->stop();
    if (window_->isVisible()) lastProgressPaint_ = screen_.now();
    for (auto& [id, c] : controls_)
        if (auto* bar = qobject_cast<QProgressBar*>(c.widget); bar && bar->value() != c.value)
            bar->setValue(c.value);
}

void QtDialog::setPicture(int id, const std::string& hostPath) {
    Control* c = find(id);
    if (!c || c->spec.kind != ControlKind::Picture) return;
    c->picture = hostPath;
    auto* label = static_cast<QLabel*>(c->widget);
    const QPixmap pixmap =
        hostPath.empty() ? QPixmap() : loadPicture(qs(hostPath), screen_.scale());
    if (pixmap.isNull())
        label->clear();
    else
        label->setPixmap(pixmap);
}

std::string QtDialog::picture(int id) const {
    const Control* c = find(id);
    return c ? c->picture : std::string();
}

void QtDialog::setGraph(int id, const GraphView& view) {
    Control* c = find(id);
    if (!c || c->spec.kind != ControlKind::Graph) return;
    static_cast<GraphWidget*>(c->widget)->setView(view);
}

GraphView QtDialog::graph(int id) const {
    const Control* c = find(id);
    if (!c || c->spec.kind != ControlKind::Graph) return {};
    return static_cast<const GraphWidget*>(c->widget)->view();
}

// --- technician actions ---------------------------------------------------------------

QtDialog::Control* QtDialog::reachable(int id, ControlKind kind) {
    Control* c = find(id);
    if (!c || c->spec.kind != kind || c->widget->isHidden() ||
        !c->widget->isEnabledTo(window_.get()))
        return nullptr;
    return c;
}

bool QtDialog::pressButton(int id) {
    Control* c = find(id);
    if (!c) return false;
    const ControlKind kind = c->spec.kind;
    if (kind == ControlKind::Picture) {
        if (!reachable(id, kind)) return false;
        if (!moduleChange_ && handlers_.onButton) handlers_.onButton(id);
        return true;
    }
    if (kind != ControlKind::Button && kind != ControlKind::CheckBox && kind != ControlKind::Radio)
        return false;
    if (!reachable(id, kind)) return false;
    static_cast<QAbstractButton*>(c->widget)->click();
    return true;
}

bool QtDialog::tapRow(int id, int row) {
    Control* c = reachable(id, ControlKind::ListView);
    if (!c || row < 0 || row >= rowCount(id)) return false;
    auto* list = static_cast<QTreeWidget*>(c->widget);
    QTreeWidgetItem* item = list->topLevelItem(row);
    selectListRow(list, row);
    emit list->itemClicked(item, 0);
    return true;
}

bool QtDialog::doubleTapRow(int id, int row) {
    if (!tapRow(id, row)) return false;
    auto* list = static_cast<QTreeWidget*>(find(id)->widget);
    emit list->itemDoubleClicked(list->topLevelItem(row), 0);
    return true;
}

bool QtDialog::typeText(int id, const std::string& text) {
    Control* c = reachable(id, ControlKind::Edit);
    if (!c) return false;
    if (auto* line = qobject_cast<QLineEdit*>(c->widget)) {
        if (line->isReadOnly()) return false;
        line->setFocus();
        line->selectAll();
        if (text.empty()) line->del();
        typeKeys(line, qs(text));
        return true;
    }
    auto* area = static_cast<QPlainTextEdit*>(c->widget);
    if (area->isReadOnly()) return false;
    area->setFocus();
    area->selectAll();
    if (text.empty()) area->textCursor().removeSelectedText();
    typeKeys(area, qs(text));
    return true;
}

bool QtDialog::chooseItem(int id, int index) {
    Control* c = reachable(id, ControlKind::ComboBox);
    auto* combo = c ? static_cast<QComboBox*>(c->widget) : nullptr;
    if (!combo || index < 0 || index >= combo->count()) return false;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    return true;
}

void QtDialog::pressCloseBox() {
    window_->close();
}

}  // namespace corvan::ui::qt
