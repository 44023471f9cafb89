#include "ui/headless_dialog.h"

#include <gtest/gtest.h>

#include "ui/headless_screen.h"
#include "ui/ui_test_support.h"

namespace corvan::ui {
namespace {

using namespace testing;

class HeadlessDialogTest : public ::testing::Test {
  protected:
    HeadlessDialogTest() : dialog(screen.createDialog(sampleTemplate())) {
        DialogHandlers h;
        h.onButton = [this](int id) { events.push_back("button " + std::to_string(id)); };
        h.onRowTap = [this](int id, int row) {
            events.push_back("tap " + std::to_string(id) + " " + std::to_string(row));
        };
        h.onRowDoubleTap = [this](int id, int row) {
            events.push_back("double " + std::to_string(id) + " " + std::to_string(row));
        };
        h.onTextChange = [this](int id) { events.push_back("text " + std::to_string(id)); };
        h.onSelectionChange = [this](int id) { events.push_back("choice " + std::to_string(id)); };
        h.onClose = [this] { events.push_back("close"); };
        dialog->setHandlers(std::move(h));
        dialog->show(true);
    }
    HeadlessDialog& hd() { return static_cast<HeadlessDialog&>(*dialog); }

    HeadlessScreen screen;
    std::unique_ptr<Dialog> dialog;
    std::vector<std::string> events;
};

TEST_F(HeadlessDialogTest, KeepsTheStateOfEveryControlKind) {
    Dialog& d = *dialog;
    EXPECT_EQ(d.title(), "SAMPLE: ");
    d.setTitle("ECU IDENTIFICATION: ENGINE");
    EXPECT_EQ(d.title(), "ECU IDENTIFICATION: ENGINE");
    EXPECT_EQ(d.text(kSelect), "SELECT");  // from the template
    d.setText(kLabel, "Alimentación");
    EXPECT_EQ(d.text(kLabel), "Alimentación");
    d.setEnabled(kSelect, false);
    d.setControlVisible(kInfo, false);
    EXPECT_FALSE(d.isEnabled(kSelect));
    EXPECT_FALSE(d.isControlVisible(kInfo));
    EXPECT_TRUE(d.isEnabled(kExit));

    d.setChecked(kCheck, true);
    EXPECT_TRUE(d.isChecked(kCheck));
    d.setChecked(kRadioA, true);
    d.setChecked(kRadioB, true);  // one group: the other choice goes off
    EXPECT_FALSE(d.isChecked(kRadioA));
    EXPECT_TRUE(d.isChecked(kRadioB));

    d.setItems(kCombo, {"A", "B"});
    EXPECT_EQ(d.currentItem(kCombo), -1);
    d.setCurrentItem(kCombo, 1);
    EXPECT_EQ(d.currentItem(kCombo), 1);
    EXPECT_EQ(d.text(kCombo), "B");
    d.setCurrentItem(kCombo, 5);  // beyond the items: unchanged
    EXPECT_EQ(d.currentItem(kCombo), 1);

    d.setRange(kProgress, 0, 30);
    d.setProgress(kProgress, 12);
    EXPECT_EQ(d.progress(kProgress), 12);
    d.setProgress(kProgress, 99);  // the bar stops at its end
    EXPECT_EQ(d.progress(kProgress), 30);

    d.setPicture(kPicture, "/root/Imagenes/LogoCorvan.bmp");
    EXPECT_EQ(d.picture(kPicture), "/root/Imagenes/LogoCorvan.bmp");
    // Only the item beyond the list was a mistake of the module.
    EXPECT_EQ(screen.report().problems,
              std::vector<std::string>{"dialog SAMPLE: setCurrentItem 5 beyond the items of #15"});
}

TEST_F(HeadlessDialogTest, ListKeepsColumnsRowsCellsGreyRowsAndSelection) {
    Dialog& d = *dialog;
    d.setColumns(kList, {{"SISTEMA", 0}, {"FICHA", 0}, {"SYSTEMS", 213}});
    ASSERT_EQ(d.columns(kList).size(), 3u);
    EXPECT_EQ(d.columns(kList)[0].width, 0);
    EXPECT_EQ(d.addRow(kList, {"MOTOR", "SINFICHA", "ENGINE"}), 0);
    EXPECT_EQ(d.addRow(kList, {"ABS", "CONFICHA", "ABS"}), 1);
    d.setRowGrey(kList, 0, true);
    EXPECT_TRUE(d.isRowGrey(kList, 0));
    EXPECT_FALSE(d.isRowGrey(kList, 1));
    d.setCell(kList, 0, 1, "CONFICHA");
    d.setCell(kList, 1, 4, "extra");  // beyond the cells given: the row grows
    EXPECT_EQ(d.cell(kList, 0, 1), "CONFICHA");
    EXPECT_EQ(d.cell(kList, 1, 4), "extra");
    EXPECT_EQ(d.cell(kList, 1, 3), "");
    EXPECT_EQ(d.cell(kList, 7, 0), "");
    d.selectRow(kList, 1);
    EXPECT_EQ(d.selectedRow(kList), 1);
    d.clearRows(kList);
    EXPECT_EQ(d.rowCount(kList), 0);
    EXPECT_EQ(d.selectedRow(kList), -1);
}

TEST_F(HeadlessDialogTest, TapFindsVisibleCellsOnlyAndSkipsHiddenColumns) {
    Dialog& d = *dialog;
    d.setColumns(kList, {{"VARIANTE", 0}, {"VARIANTES", 213}});
    d.addRow(kList, {"EWS - SEGURO ANTIARRANQUE", "EWS - ELECTRONIC IMMOBILIZER"});
    d.addRow(kList, {"DSC", "DSC - STABILITY CONTROL"});
    const ControlState& list = *hd().control(kList);
    EXPECT_EQ(hd().findRow(list, "DSC - STABILITY CONTROL"), 1);
    EXPECT_EQ(hd().findRow(list, "STABILITY"), 1);  // part of a text
    EXPECT_EQ(hd().findRow(list, "SEGURO"), -1);    // only in the hidden column
    EXPECT_EQ(hd().findRow(list, "DSC"), 1);
}

TEST_F(HeadlessDialogTest, TypingHonoursDigitsUpperCaseAndLength) {
    ControlSpec s;
    s.digitsOnly = true;
    s.maxLength = 5;
    EXPECT_EQ(filterTypedText(s, "12a34-5678"), "12345");
    ControlSpec upper;
    upper.upperCase = true;
    upper.maxLength = 4;
    EXPECT_EQ(filterTypedText(upper, "añoÿz9"), "AÑOŸ");
    EXPECT_EQ(utf8Length("AÑOŸ"), 4u);
    ControlSpec plain;
    EXPECT_EQ(filterTypedText(plain,
                              "a\xFF"
                              "b"),
              "a\xFF"
              "b");  // stray bytes pass through

    EXPECT_TRUE(hd().typeText(kEdit, "abc"));
    EXPECT_EQ(dialog->text(kEdit), "abc");
    EXPECT_TRUE(hd().typeText(kEdit, "xyz"));  // typing replaces the field's text
    EXPECT_EQ(dialog->text(kEdit), "xyz");
    EXPECT_EQ(events, (std::vector<std::string>{"text 11", "text 11"}));
}

TEST_F(HeadlessDialogTest, DisabledHiddenOrWrongControlsTakeNoAction) {
    dialog->setEnabled(kSelect, false);
    dialog->setControlVisible(kInfo, false);
    EXPECT_FALSE(hd().press(kSelect));
    EXPECT_FALSE(hd().press(kInfo));
    EXPECT_FALSE(hd().pressLabel("SELECT"));
    EXPECT_FALSE(hd().press(kLabel));     // a label is not a button
    EXPECT_FALSE(hd().press(999));        // no such control
    EXPECT_FALSE(hd().tapRow(kList, 0));  // no rows yet
    dialog->setEnabled(kEdit, false);
    EXPECT_FALSE(hd().typeText(kEdit, "1"));
    EXPECT_TRUE(events.empty());

    dialog->show(false);  // a hidden dialog takes no input at all
    EXPECT_FALSE(hd().press(kExit));
    EXPECT_FALSE(hd().close());
    EXPECT_TRUE(events.empty());
}

TEST_F(HeadlessDialogTest, ActionsCallTheHandlersAToolkitWould) {
    dialog->addRow(kList, {"A"});
    dialog->addRow(kList, {"B"});
    dialog->setItems(kCombo, {"KWP 2000", "ISO 9141"});
    EXPECT_TRUE(hd().pressLabel("Exit"));
    EXPECT_TRUE(hd().pressLabel("Inform"));  // part of a label
    EXPECT_TRUE(hd().tapRow(kList, 1));
    EXPECT_EQ(dialog->selectedRow(kList), 1);
    EXPECT_TRUE(hd().doubleTapRow(kList, 0));
    EXPECT_EQ(dialog->selectedRow(kList), 0);
    EXPECT_TRUE(hd().press(kCheck));  // a check box toggles, then reports the press
    EXPECT_TRUE(dialog->isChecked(kCheck));
    EXPECT_TRUE(hd().setCheck(kCheck, true));  // already checked: no click
    EXPECT_TRUE(hd().setCheck(kCheck, false));
    EXPECT_FALSE(dialog->isChecked(kCheck));
    EXPECT_TRUE(hd().chooseRadio(kRadioB));
    EXPECT_TRUE(dialog->isChecked(kRadioB));
    EXPECT_TRUE(hd().chooseItem(kCombo, "ISO"));
    EXPECT_EQ(dialog->currentItem(kCombo), 1);
    EXPECT_FALSE(hd().chooseItem(kCombo, "CAN"));
    EXPECT_TRUE(hd().close());
    EXPECT_EQ(events, (std::vector<std::string>{"button 2", "button 3", "tap 100 1", "double 100 0",
                                                "button 12", "button 12", "choice 14", "choice 15",
                                                "close"}));
}

TEST_F(HeadlessDialogTest, ModuleMistakesAreReportedNotFatal) {
    dialog->setText(4242, "x");
    dialog->addRow(kExit, {"x"});  // not a list
    EXPECT_EQ(dialog->addRow(kExit, {"x"}), -1);
    dialog->setCell(kList, 3, 0, "x");  // no such row
    dialog->selectRow(kList, 9);
    EXPECT_EQ(dialog->text(4242), "");
    EXPECT_EQ(dialog->rowCount(kExit), 0);
    const auto problems = screen.report().problems;
    ASSERT_EQ(problems.size(), 4u);  // the same mistake twice counts once
    EXPECT_EQ(problems[0], "dialog SAMPLE: setText on unknown control #4242");
    EXPECT_EQ(problems[1], "dialog SAMPLE: addRow on button #2");
}

TEST_F(HeadlessDialogTest, ScreenTracksLiveDialogsAndTheMostRecentlyShown) {
    auto second = screen.createDialog(sampleTemplate());
    EXPECT_EQ(screen.dialogs().size(), 2u);
    EXPECT_EQ(screen.topDialog(), dialog.get());  // the second is still hidden
    second->show(true);
    EXPECT_EQ(screen.topDialog(), second.get());
    dialog->show(false);
    dialog->show(true);  // shown again: on top
    EXPECT_EQ(screen.topDialog(), dialog.get());
    second.reset();
    EXPECT_EQ(screen.dialogs().size(), 1u);
    ASSERT_EQ(screen.snapshots().size(), 1u);
    EXPECT_EQ(screen.snapshots()[0].reason, "destroyed");
}

TEST(HeadlessScreen, DialogMayOutliveItsScreen) {
    std::unique_ptr<Dialog> d;
    {
        HeadlessScreen screen;
        d = screen.createDialog(sampleTemplate());
    }
    d->setText(kLabel, "still fine");
    EXPECT_EQ(d->text(kLabel), "still fine");
    d.reset();
}

TEST(HeadlessScreen, ControlKeyIsUpOnlyUntilHeld) {
    HeadlessScreen screen;
    EXPECT_FALSE(screen.keyDown(kControlKey));
    screen.setKeyDown(kControlKey, true);
    EXPECT_TRUE(screen.keyDown(kControlKey));
    EXPECT_FALSE(screen.keyDown(0x10));
    screen.setKeyDown(kControlKey, false);
    EXPECT_FALSE(screen.keyDown(kControlKey));
}

}  // namespace
}  // namespace corvan::ui
