#pragma once
// A module's dialog as a Qt window: one widget per control of its template, found by the
// control id (the widget's object name). Handlers only hear what the technician does; what
// the module sets through this interface reports nothing back.
#include <QWidget>
#include <chrono>
#include <map>
#include <memory>
#include <optional>

#include "ui/screen.h"

class QButtonGroup;
class QTimer;

namespace corvan::ui::qt {

class QtScreen;

class QtDialog final : public Dialog {
  public:
    // The screen outlives its dialogs.
    QtDialog(QtScreen& screen, const DialogTemplate& t);
    ~QtDialog() override;

    const DialogTemplate& layout() const override { return template_; }
    void setHandlers(DialogHandlers h) override { handlers_ = std::move(h); }

    void setTitle(const std::string& title) override;
    std::string title() const override;
    void show(bool visible) override;
    bool isVisible() const override;

    void setText(int id, const std::string& text) override;
    std::string text(int id) const override;
    void setEnabled(int id, bool enabled) override;
    bool isEnabled(int id) const override;
    void setControlVisible(int id, bool visible) override;
    bool isControlVisible(int id) const override;

    void setColumns(int id, const std::vector<Column>& columns) override;
    std::vector<Column> columns(int id) const override;
    void clearRows(int id) override;
    int addRow(int id, const std::vector<std::string>& cells) override;
    void setCell(int id, int row, int column, const std::string& text) override;
    std::string cell(int id, int row, int column) const override;
    int rowCount(int id) const override;
    void setRowGrey(int id, int row, bool grey) override;
    bool isRowGrey(int id, int row) const override;
    int selectedRow(int id) const override;
    void selectRow(int id, int row) override;

    void setChecked(int id, bool checked) override;
    bool isChecked(int id) const override;

    void setItems(int id, const std::vector<std::string>& items) override;
    std::vector<std::string> items(int id) const override;
    void setCurrentItem(int id, int index) override;
    int currentItem(int id) const override;

    void setRange(int id, int low, int high) override;
    void setProgress(int id, int value) override;
    int progress(int id) const override;

    void setPicture(int id, const std::string& hostPath) override;
    std::string picture(int id) const override;
    void setGraph(int id, const GraphView& view) override;
    GraphView graph(int id) const override;

    // The window and the widget of a control (null for an unknown id).
    QWidget* window() const { return window_.get(); }
    QWidget* control(int id) const;
    // Larger: shown more recently (0: never shown).
    long showOrder() const { return showOrder_; }

    // What a technician does with the pen, done through the widgets so that the handlers
    // run as they do for a person. Each returns false, doing nothing, when the control is
    // unknown, of another kind, hidden or disabled, or the row does not exist.
    bool pressButton(int id);  // button, check box (toggles), radio choice
    bool tapRow(int id, int row);
    bool doubleTapRow(int id, int row);
    bool typeText(int id, const std::string& text);  // replaces the text, key by key
    bool chooseItem(int id, int index);              // drop-down
    void pressCloseBox();

    // Paints the progress bars whose value has waited its time (the screen's pump asks).
    void paintDueProgress();

  private:
    struct Control {
        ControlSpec spec;
        QWidget* widget = nullptr;  // owned by the window
        std::vector<Column> columns;
        std::string picture;
        int value = 0;  // a progress bar's value, which the bar shows at its next paint
    };

    const Control* find(int id) const;
    Control* find(int id);
    // The control when it is of `kind` and a technician could reach it.
    Control* reachable(int id, ControlKind kind);
    void connectSignals(const Control& c);
    void screenshot(const char* event);
    void paintProgress();  // every waiting value, now

    QtScreen& screen_;
    DialogTemplate template_;
    DialogHandlers handlers_;
    std::unique_ptr<QWidget> window_;
    std::map<int, Control> controls_;
    std::map<int, QButtonGroup*> radioGroups_;
    // Set while the module itself changes a control, so edits it makes are not reported as
    // the technician's.
    bool moduleChange_ = false;
    long showOrder_ = 0;
    // A progress bar repaints the moment its fill moves a pixel, and a box start-up moves it
    // at every exchange: its bars are painted at most every progressPaintEvery, the latest
    // value then, and a value set between paints waits for the next one (or this timer).
    bool progressWaiting_ = false;
    std::optional<std::chrono::steady_clock::time_point> lastProgressPaint_;
    QTimer* progressTimer_ = nullptr;  // owned by the window
};

}  // namespace corvan::ui::qt
