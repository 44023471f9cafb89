#pragma once
// A dialog of the headless backend: keeps the state of every control and offers the
// technician's actions (press, tap, type, ...) that call the dialog's handlers exactly as a
// real toolkit would. A hidden dialog, or a disabled or hidden control, takes no action.
#include <string>
#include <string_view>
#include <vector>

#include "ui/control_state.h"
#include "ui/screen.h"
#include "ui/screen_dump.h"

namespace corvan::ui {

class HeadlessScreen;

class HeadlessDialog : public Dialog {
  public:
    HeadlessDialog(HeadlessScreen* screen, const DialogTemplate& t);
    ~HeadlessDialog() override;
    HeadlessDialog(const HeadlessDialog&) = delete;
    HeadlessDialog& operator=(const HeadlessDialog&) = delete;

    // Dialog.
    const DialogTemplate& layout() const override { return layout_; }
    void setHandlers(DialogHandlers h) override { handlers_ = std::move(h); }
    void setTitle(const std::string& title) override { title_ = title; }
    std::string title() const override { return title_; }
    void show(bool visible) override;
    bool isVisible() const override { return visible_; }
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

    // Inspection.
    const std::string& name() const { return layout_.name; }
    const std::vector<ControlState>& controls() const { return controls_; }
    const ControlState* control(int id) const;
    bool everShown() const { return everShown_; }
    long showOrder() const { return showOrder_; }  // larger: shown more recently
    DialogSnapshot snapshot(std::string reason) const;

    // Lookups the technician scripts use. Labels and cell texts match exactly first, then as
    // a part of the text; only controls and columns the technician can see count.
    const ControlState* findPressable(std::string_view label) const;
    int findRow(const ControlState& list, std::string_view cellText) const;
    const ControlState* firstList() const;

    // The technician's actions; each returns whether it took effect.
    bool press(int id);  // button, check box (toggles) or radio choice
    bool pressLabel(std::string_view label);
    bool tapRow(int listId, int row);                   // selects the row, then onRowTap
    bool doubleTapRow(int listId, int row);             // selects the row, then onRowDoubleTap
    bool typeText(int editId, std::string_view typed);  // replaces the field's text
    bool setCheck(int checkBoxId, bool checked);        // a click only when the state differs
    bool chooseRadio(int radioId);
    bool chooseItem(int comboId, int index);
    bool chooseItem(int comboId, std::string_view itemText);
    bool close();  // the window's close box: onClose

    // The backend's way out of a loop that never ends: press the exit control even when the
    // dialog is hidden, or close the window. Returns what was done.
    std::string forceClose();

    // The screen went away first.
    void detach() { screen_ = nullptr; }

  private:
    ControlState* find(int id, const char* operation);
    const ControlState* find(int id) const;
    ControlState* findKind(int id, ControlKind kind, const char* operation);
    ControlState* actionable(int id);
    ListRow* rowAt(ControlState& list, int row, const char* operation);
    void problem(const std::string& what);

    HeadlessScreen* screen_;
    DialogTemplate layout_;
    DialogHandlers handlers_;
    std::string title_;
    bool visible_ = false;
    bool everShown_ = false;
    long showOrder_ = 0;
    std::vector<ControlState> controls_;
};

}  // namespace corvan::ui
