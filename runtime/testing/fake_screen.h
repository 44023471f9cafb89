#pragma once
// A screen for the runtime's own tests: message boxes are recorded and answered from a
// queue (an empty queue answers OK boxes with Ok and questions with No), dialogs keep their
// title, visibility and texts, and a hook runs on every pumpMessages() so a test can press
// buttons while a module loops.
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/screen.h"

namespace corvan::testing {

struct ShownBox {
    std::string text, title;
    ui::Buttons buttons;
    ui::Icon icon;
};

// What a test can still see of a dialog after it was destroyed.
struct DialogRecord {
    std::string name, title;
    bool visible = false, everVisible = false, destroyed = false;
    std::map<int, std::string> texts;
    std::vector<std::string> textHistory;  // every setText, as "id=text"
    ui::DialogHandlers handlers;
};

class FakeDialog final : public ui::Dialog {
  public:
    FakeDialog(ui::DialogTemplate t, std::shared_ptr<DialogRecord> r)
        : layout_(std::move(t)), r_(std::move(r)) {
        r_->name = layout_.name;
        r_->title = layout_.title;
    }
    ~FakeDialog() override { r_->destroyed = true, r_->visible = false; }

    const ui::DialogTemplate& layout() const override { return layout_; }
    void setHandlers(ui::DialogHandlers h) override { r_->handlers = std::move(h); }
    void setTitle(const std::string& t) override { r_->title = t; }
    std::string title() const override { return r_->title; }
    void show(bool v) override {
        r_->visible = v;
        r_->everVisible |= v;
    }
    bool isVisible() const override { return r_->visible; }
    void setText(int id, const std::string& t) override {
        r_->texts[id] = t;
        r_->textHistory.push_back(std::to_string(id) + "=" + t);
    }
    std::string text(int id) const override {
        const auto it = r_->texts.find(id);
        return it == r_->texts.end() ? std::string() : it->second;
    }
    void setEnabled(int, bool) override {}
    bool isEnabled(int) const override { return true; }
    void setControlVisible(int, bool) override {}
    bool isControlVisible(int) const override { return true; }
    void setColumns(int, const std::vector<ui::Column>&) override {}
    std::vector<ui::Column> columns(int) const override { return {}; }
    void clearRows(int) override {}
    int addRow(int, const std::vector<std::string>&) override { return 0; }
    void setCell(int, int, int, const std::string&) override {}
    std::string cell(int, int, int) const override { return {}; }
    int rowCount(int) const override { return 0; }
    void setRowGrey(int, int, bool) override {}
    bool isRowGrey(int, int) const override { return false; }
    int selectedRow(int) const override { return -1; }
    void selectRow(int, int) override {}
    void setChecked(int, bool) override {}
    bool isChecked(int) const override { return false; }
    void setItems(int, const std::vector<std::string>&) override {}
    std::vector<std::string> items(int) const override { return {}; }
    void setCurrentItem(int, int) override {}
    int currentItem(int) const override { return -1; }
    void setRange(int, int, int) override {}
    void setProgress(int, int) override {}
    int progress(int) const override { return 0; }
    void setPicture(int, const std::string&) override {}
    std::string picture(int) const override { return {}; }

  private:
    ui::DialogTemplate layout_;
    std::shared_ptr<DialogRecord> r_;
};

class FakeScreen final : public ui::Screen {
  public:
    std::unique_ptr<ui::Dialog> createDialog(const ui::DialogTemplate& t) override {
        dialogs.push_back(std::make_shared<DialogRecord>());
        return std::make_unique<FakeDialog>(t, dialogs.back());
    }
    ui::Answer messageBox(const std::string& text, const std::string& title, ui::Buttons b,
                          ui::Icon icon) override {
        boxes.push_back({text, title, b, icon});
        if (onBox) onBox();
        if (!answers.empty()) {
            const ui::Answer a = answers.front();
            answers.pop_front();
            return a;
        }
        return b == ui::Buttons::Ok ? ui::Answer::Ok : ui::Answer::No;
    }
    void pumpMessages() override {
        ++pumps;
        if (onPump) onPump();
    }
    bool keyDown(int) const override { return false; }

    std::vector<ShownBox> boxes;
    std::deque<ui::Answer> answers;
    std::vector<std::shared_ptr<DialogRecord>> dialogs;
    int pumps = 0;
    std::function<void()> onPump, onBox;
};

}  // namespace corvan::testing
