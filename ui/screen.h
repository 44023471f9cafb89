#pragma once
// The toolkit-neutral screen layer. Modules build dialogs from templates, fill their
// controls through identifiers and read a command word that the dialog's buttons set; they
// never act inside a handler: their own loop calls pumpMessages() and acts on the word.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/dialog_template.h"
#include "ui/graph_view.h"

namespace corvan::ui {

enum class Buttons { Ok, YesNo, YesNoCancel, RetryCancel };
enum class Icon { None, Information, Question, Stop, Warning };
enum class Answer { Ok, Yes, No, Cancel, Retry };

struct Column {
    std::string heading;
    int width = 0;  // device pixels; 0 hides the column
};

// Events a dialog reports; each is optional. Typical handlers only store a command word.
struct DialogHandlers {
    std::function<void(int id)> onButton;               // button or check box pressed
    std::function<void(int id, int row)> onRowTap;      // list row tapped (selected)
    std::function<void(int id, int row)> onRowDoubleTap;
    std::function<void(int id)> onSelectionChange;      // combo box, radio
    std::function<void(int id)> onTextChange;           // edit field
    std::function<void()> onClose;                      // the window's close box
};

class Dialog {
public:
    virtual ~Dialog() = default;

    virtual const DialogTemplate& layout() const = 0;
    virtual void setHandlers(DialogHandlers h) = 0;

    virtual void setTitle(const std::string& title) = 0;
    virtual std::string title() const = 0;
    virtual void show(bool visible) = 0;
    virtual bool isVisible() const = 0;

    // Any control.
    virtual void setText(int id, const std::string& text) = 0;
    virtual std::string text(int id) const = 0;
    virtual void setEnabled(int id, bool enabled) = 0;
    virtual bool isEnabled(int id) const = 0;
    virtual void setControlVisible(int id, bool visible) = 0;
    virtual bool isControlVisible(int id) const = 0;

    // List views.
    virtual void setColumns(int id, const std::vector<Column>& columns) = 0;
    virtual std::vector<Column> columns(int id) const = 0;
    virtual void clearRows(int id) = 0;
    virtual int addRow(int id, const std::vector<std::string>& cells) = 0;  // row index
    virtual void setCell(int id, int row, int column, const std::string& text) = 0;
    virtual std::string cell(int id, int row, int column) const = 0;
    virtual int rowCount(int id) const = 0;
    virtual void setRowGrey(int id, int row, bool grey) = 0;
    virtual bool isRowGrey(int id, int row) const = 0;
    virtual int selectedRow(int id) const = 0;  // -1: none
    virtual void selectRow(int id, int row) = 0;

    // Check boxes and radio choices.
    virtual void setChecked(int id, bool checked) = 0;
    virtual bool isChecked(int id) const = 0;

    // Drop-downs.
    virtual void setItems(int id, const std::vector<std::string>& items) = 0;
    virtual std::vector<std::string> items(int id) const = 0;
    virtual void setCurrentItem(int id, int index) = 0;
    virtual int currentItem(int id) const = 0;

    // Progress bars.
    virtual void setRange(int id, int low, int high) = 0;
    virtual void setProgress(int id, int value) = 0;
    virtual int progress(int id) const = 0;

    // Pictures (BMP, host path; empty clears).
    virtual void setPicture(int id, const std::string& hostPath) = 0;
    virtual std::string picture(int id) const = 0;

    // Graphs: the whole view at once. A backend without graphs ignores it.
    virtual void setGraph(int id, const GraphView& view) {
        (void)id;
        (void)view;
    }
    virtual GraphView graph(int id) const {
        (void)id;
        return {};
    }

    // The command word the handlers set and the module's loop reads.
    void setCommand(std::string word) { command_ = std::move(word); }
    const std::string& command() const { return command_; }
    void clearCommand() { command_.clear(); }

private:
    std::string command_;
};

class Screen {
public:
    virtual ~Screen() = default;
    virtual std::unique_ptr<Dialog> createDialog(const DialogTemplate& t) = 0;
    // Modal message box; returns when answered.
    virtual Answer messageBox(const std::string& text, const std::string& title, Buttons buttons,
                              Icon icon) = 0;
    // Dispatches every waiting event without blocking.
    virtual void pumpMessages() = 0;
    // Whether a key is held down (0x11: the Control key), as the platform's key state bit 7.
    virtual bool keyDown(int virtualKey) const = 0;
};

}  // namespace corvan::ui
