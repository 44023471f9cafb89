// The Qt dialog against its widgets: what the module sets shows in the widget, what the
// technician does reaches the handlers, and nothing the module does is reported back.
#include "ui/qt/qt_dialog.h"

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <chrono>

#include "ui/qt/qt_look.h"
#include "ui/qt/qt_screen.h"
#include "ui/qt/qt_test_support.h"

namespace corvan::ui::qt {
namespace {

enum Ids {
    kLabel = 1,
    kButton,
    kBitmapButton,
    kDigits,
    kUpper,
    kShort,
    kCheck,
    kRadioA1,
    kRadioA2,
    kRadioB1,
    kCombo,
    kProgress,
    kPicture,
    kHidden,
};

ControlSpec control(int id, ControlKind kind, Rect rect, std::string text = {}) {
    ControlSpec c;
    c.id = id;
    c.kind = kind;
    c.rect = rect;
    c.text = std::move(text);
    return c;
}

class QtDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = testing::outputDir("dialog");
        bitmap_ = testing::writeBitmap(dir_ / "ok.bmp", 20, 10, Qt::green);
    }

    DialogTemplate sample() const {
        DialogTemplate t;
        t.name = "SAMPLE";
        t.title = "SAMPLE: ";
        t.controls = {
            control(kLabel, ControlKind::Label, {5, 5, 100, 14}, "Power"),
            control(kButton, ControlKind::Button, {5, 200, 80, 24}, "Exit"),
            control(kBitmapButton, ControlKind::Button, {90, 200, 40, 24}),
            control(kDigits, ControlKind::Edit, {5, 30, 60, 20}),
            control(kUpper, ControlKind::Edit, {70, 30, 60, 20}),
            control(kShort, ControlKind::Edit, {135, 30, 60, 20}),
            control(kCheck, ControlKind::CheckBox, {5, 55, 100, 16}, "Log"),
            control(kRadioA1, ControlKind::Radio, {5, 75, 60, 16}, "A1"),
            control(kRadioA2, ControlKind::Radio, {70, 75, 60, 16}, "A2"),
            control(kRadioB1, ControlKind::Radio, {135, 75, 60, 16}, "B1"),
            control(kCombo, ControlKind::ComboBox, {5, 95, 120, 100}),
            control(kProgress, ControlKind::Progress, {5, 125, 200, 12}),
            control(kPicture, ControlKind::Picture, {210, 5, 100, 100}),
            control(kHidden, ControlKind::Button, {210, 200, 80, 24}, "Secret"),
        };
        t.controls[2].bitmap = "\\PICS\\OK.BMP";
        t.controls[3].digitsOnly = true;
        t.controls[4].upperCase = true;
        t.controls[5].maxLength = 4;
        t.controls[7].group = 1;
        t.controls[8].group = 1;
        t.controls[9].group = 2;
        t.controls[13].visible = false;
        return t;
    }

    QtScreen screen(int scale = 1) {
        QtScreenOptions o;
        o.scale = scale;
        o.attended = false;
        o.bitmapFile = [this](const std::string& device) {
            return device == "\\PICS\\OK.BMP" ? bitmap_ : std::filesystem::path(device);
        };
        return QtScreen(o);
    }

    template <class W>
    static W* widget(QtDialog& d, int id) {
        return d.window()->findChild<W*>(QString::number(id));
    }

    std::filesystem::path dir_, bitmap_;
};

TEST_F(QtDialogTest, WidgetsArePlacedFromTheHintsAtTheScale) {
    QtScreen s = screen(2);
    QtDialog d(s, sample());
    EXPECT_EQ(d.window()->size(), QSize(640, 480));
    EXPECT_EQ(widget<QLabel>(d, kLabel)->geometry(), QRect(10, 10, 200, 28));
    EXPECT_EQ(widget<QPushButton>(d, kButton)->geometry(), QRect(10, 400, 160, 48));
    EXPECT_EQ(widget<QLabel>(d, kLabel)->font().pixelSize(), 2 * kSystemFontPixels);
    // A drop-down's hint covers its open list; closed it is one line.
    EXPECT_LT(widget<QComboBox>(d, kCombo)->height(), 200);
    EXPECT_EQ(d.window()->objectName(), "SAMPLE");
}

TEST_F(QtDialogTest, PortraitDialogStandsUpright) {
    QtScreen s = screen();
    DialogTemplate t = sample();
    t.portrait = true;
    QtDialog d(s, t);
    EXPECT_EQ(d.window()->size(), QSize(240, 320));
}

TEST_F(QtDialogTest, TextsTitleAndVisibilityReachTheWidgets) {
    QtScreen s = screen();
    QtDialog d(s, sample());
    d.setTitle("OPTIONS MENU: ENGINE");
    d.setText(kLabel, "Alimentación");
    d.setText(kButton, "SALIR");
    EXPECT_EQ(d.window()->windowTitle(), "OPTIONS MENU: ENGINE");
    EXPECT_EQ(widget<QLabel>(d, kLabel)->text(), QString::fromUtf8("Alimentación"));
    EXPECT_EQ(d.text(kLabel), "Alimentación");
    EXPECT_EQ(widget<QPushButton>(d, kButton)->text(), "SALIR");

    EXPECT_FALSE(d.isControlVisible(kHidden));
    d.setControlVisible(kHidden, true);
    EXPECT_TRUE(d.isControlVisible(kHidden));
    d.setEnabled(kButton, false);
    EXPECT_FALSE(widget<QPushButton>(d, kButton)->isEnabled());
    EXPECT_FALSE(d.isEnabled(kButton));

    EXPECT_FALSE(d.isVisible());
    d.show(true);
    EXPECT_TRUE(d.window()->isVisible());
    d.show(false);
    EXPECT_FALSE(d.window()->isVisible());
}

TEST_F(QtDialogTest, UnknownIdsAndWrongKindsAreHarmless) {
    QtScreen s = screen();
    QtDialog d(s, sample());
    d.setText(99, "x");
    d.setText(kProgress, "x");
    d.setChecked(kLabel, true);
    d.setCell(kLabel, 0, 0, "x");
    d.setProgress(99, 5);
    EXPECT_EQ(d.text(99), "");
    EXPECT_EQ(d.addRow(kButton, {"a"}), -1);
    EXPECT_EQ(d.selectedRow(99), -1);
    EXPECT_EQ(d.currentItem(kLabel), -1);
    EXPECT_FALSE(d.pressButton(kLabel));
    EXPECT_FALSE(d.typeText(kButton, "1"));
    EXPECT_FALSE(d.chooseItem(kCombo, 0));  // no items yet
    EXPECT_EQ(d.control(99), nullptr);
}

TEST_F(QtDialogTest, ButtonsReportPressesOnlyWhenReachable) {
    QtScreen s = screen();
    QtDialog d(s, sample());
    std::vector<int> pressed;
    d.setHandlers(testing::Handlers().button([&](int id) { pressed.push_back(id); }));
    EXPECT_TRUE(d.pressButton(kButton));
    EXPECT_FALSE(d.pressButton(kHidden));
    d.setEnabled(kButton, false);
    EXPECT_FALSE(d.pressButton(kButton));
    // A person's click goes the same way.
    d.setEnabled(kButton, true);
    widget<QPushButton>(d, kButton)->click();
    EXPECT_EQ(pressed, (std::vector<int>{kButton, kButton}));
}

TEST_F(QtDialogTest, BitmapButtonShowsTheScaledPicture) {
    QtScreen s = screen(2);
    QtDialog d(s, sample());
    auto* button = widget<QPushButton>(d, kBitmapButton);
    ASSERT_FALSE(button->icon().isNull());
    EXPECT_EQ(button->iconSize(), QSize(40, 20));
    EXPECT_EQ(button->property("bitmap").toString().toStdString(), bitmap_.string());
}

// A picture button whose picture is missing shows its tool tip as its label, so the command
// is still there to read.
TEST_F(QtDialogTest, PictureButtonWithoutItsPictureShowsItsToolTip) {
    DialogTemplate t = sample();
    ControlSpec home = control(77, ControlKind::Button, {5, 200, 24, 24});
    home.bitmap = "\\PICS\\MISSING.BMP";
    home.toolTip = "Volver al menú anterior";
    t.controls.push_back(home);
    t.controls[2].toolTip = "Accept";
    QtScreen s = screen();
    QtDialog d(s, t);
    auto* missing = widget<QPushButton>(d, 77);
    EXPECT_EQ(missing->text().toStdString(), "Volver al menú anterior");
    EXPECT_EQ(missing->toolTip().toStdString(), "Volver al menú anterior");
    auto* found = widget<QPushButton>(d, kBitmapButton);
    EXPECT_FALSE(found->icon().isNull());
    EXPECT_EQ(found->toolTip().toStdString(), "Accept");
}

TEST_F(QtDialogTest, EditFieldsFilterWhatIsTyped) {
    QtScreen s = screen();
    QtDialog d(s, sample());
    std::vector<int> changed;
    d.setHandlers(testing::Handlers().edit([&](int id) { changed.push_back(id); }));

    EXPECT_TRUE(d.typeText(kDigits, "12a-3"));
    EXPECT_EQ(d.text(kDigits), "123");
    EXPECT_TRUE(d.typeText(kUpper, "abc1ñ"));
    EXPECT_EQ(widget<QLineEdit>(d, kUpper)->text(), QString::fromUtf8("ABC1Ñ"));
    EXPECT_TRUE(d.typeText(kShort, "123456"));
    EXPECT_EQ(d.text(kShort), "1234");
    // Typing replaces what was there.
    EXPECT_TRUE(d.typeText(kDigits, "9"));
    EXPECT_EQ(d.text(kDigits), "9");
    EXPECT_FALSE(changed.empty());

    // What the module writes is not the technician's typing.
    changed.clear();
    d.setText(kDigits, "77");
    EXPECT_EQ(widget<QLineEdit>(d, kDigits)->text(), "77");
    EXPECT_TRUE(changed.empty());
}

TEST_F(QtDialogTest, ReadOnlyFieldRefusesTyping) {
    QtScreen s = screen();
    DialogTemplate t = sample();
    t.controls[3].readOnly = true;
    QtDialog d(s, t);
    d.setText(kDigits, "5");
    EXPECT_FALSE(d.typeText(kDigits, "6"));
    EXPECT_EQ(d.text(kDigits), "5");
}

TEST_F(QtDialogTest, CheckBoxFollowsModuleAndTechnician) {
    QtScreen s = screen();
    QtDialog d(s, sample());
    int presses = 0;
    d.setHandlers(testing::Handlers().button([&](int) { ++presses; }));
    d.setChecked(kCheck, true);
    EXPECT_TRUE(widget<QCheckBox>(d, kCheck)->isChecked());
    EXPECT_EQ(presses, 0);
    EXPECT_TRUE(d.pressButton(kCheck));
    EXPECT_FALSE(d.isChecked(kCheck));
    EXPECT_EQ(presses, 1);
}

TEST_F(QtDialogTest, RadioChoicesAreExclusivePerGroup) {
    QtScreen s = screen();
    QtDialog d(s, sample());
    std::vector<int> chosen;
    d.setHandlers(testing::Handlers().selection([&](int id) { chosen.push_back(id); }));
    d.setChecked(kRadioA1, true);
    d.setChecked(kRadioB1, true);
    EXPECT_TRUE(d.pressButton(kRadioA2));
    EXPECT_FALSE(widget<QRadioButton>(d, kRadioA1)->isChecked());
    EXPECT_TRUE(widget<QRadioButton>(d, kRadioA2)->isChecked());
    EXPECT_TRUE(d.isChecked(kRadioB1));  // the other group keeps its choice
    EXPECT_EQ(chosen, std::vector<int>{kRadioA2});
    // The module may leave a group with no choice.
    d.setChecked(kRadioA2, false);
    EXPECT_FALSE(d.isChecked(kRadioA2));
    EXPECT_FALSE(d.isChecked(kRadioA1));
}

TEST_F(QtDialogTest, DropDownItemsAndChoice) {
    QtScreen s = screen();
    QtDialog d(s, sample());
    std::vector<int> chosen;
    d.setHandlers(testing::Handlers().selection([&](int id) { chosen.push_back(id); }));
    d.setItems(kCombo, {"SPANISH", "ENGLISH", "GERMAN"});
    auto* combo = widget<QComboBox>(d, kCombo);
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(d.currentItem(kCombo), -1);
    d.setCurrentItem(kCombo, 1);
    EXPECT_EQ(combo->currentText(), "ENGLISH");
    EXPECT_EQ(d.text(kCombo), "ENGLISH");
    d.setCurrentItem(kCombo, 7);
    EXPECT_EQ(d.currentItem(kCombo), -1);
    EXPECT_TRUE(chosen.empty());
    EXPECT_TRUE(d.chooseItem(kCombo, 2));
    EXPECT_EQ(d.currentItem(kCombo), 2);
    EXPECT_EQ(chosen, std::vector<int>{kCombo});
    EXPECT_TRUE(d.chooseItem(kCombo, 0));  // the first item is a choice like any other
    EXPECT_EQ(d.currentItem(kCombo), 0);
    EXPECT_FALSE(d.chooseItem(kCombo, 3));
    EXPECT_EQ(d.currentItem(kCombo), 0);
    EXPECT_EQ(chosen, (std::vector<int>{kCombo, kCombo}));
    EXPECT_EQ(d.items(kCombo), (std::vector<std::string>{"SPANISH", "ENGLISH", "GERMAN"}));
}

TEST_F(QtDialogTest, ProgressBarKeepsItsRange) {
    QtScreen s = screen();
    QtDialog d(s, sample());
    auto* bar = widget<QProgressBar>(d, kProgress);
    EXPECT_EQ(bar->maximum(), 100);
    d.setProgress(kProgress, 17);
    EXPECT_EQ(bar->value(), 17);
    // A narrower range pins the value to its end, as the headless bar does.
    d.setRange(kProgress, 0, 10);
    EXPECT_EQ(d.progress(kProgress), 10);
    EXPECT_EQ(bar->value(), 10);
    d.setProgress(kProgress, 50);
    EXPECT_EQ(d.progress(kProgress), 10);
    d.setProgress(kProgress, -3);
    EXPECT_EQ(bar->value(), 0);
}

// A shown bar is painted at most every progressPaintEvery: the module reads back every value
// it set, the bar shows the latest at the next paint, at a pump when the time has come, in
// every picture taken, or by its own timer when nothing pumps.
TEST_F(QtDialogTest, ShownProgressBarIsPaintedAtMostEveryInterval) {
    auto now = std::chrono::steady_clock::time_point() + std::chrono::hours(1);
    QtScreenOptions o;
    o.attended = false;
    o.clock = [&now] { return now; };
    o.progressPaintEvery = std::chrono::milliseconds(100);
    QtScreen s(o);
    QtDialog d(s, sample());
    auto* bar = widget<QProgressBar>(d, kProgress);
    d.setProgress(kProgress, 5);  // hidden: nothing to paint, the bar takes it at once
    EXPECT_EQ(bar->value(), 5);
    d.show(true);
    d.setProgress(kProgress, 10);
    EXPECT_EQ(bar->value(), 10);  // the first paint of the shown window
    now += std::chrono::milliseconds(10);
    d.setProgress(kProgress, 20);
    d.setProgress(kProgress, 30);
    EXPECT_EQ(d.progress(kProgress), 30);
    EXPECT_EQ(bar->value(), 10);
    now += std::chrono::milliseconds(89);
    s.pumpMessages();
    EXPECT_EQ(bar->value(), 10);
    now += std::chrono::milliseconds(1);
    s.pumpMessages();
    EXPECT_EQ(bar->value(), 30);
    d.setProgress(kProgress, 40);
    EXPECT_EQ(bar->value(), 30);
    d.show(false);  // the picture of the closing window shows the latest value
    EXPECT_EQ(bar->value(), 40);
    d.setProgress(kProgress, 50);  // hidden again: at once, however recent the last paint
    EXPECT_EQ(bar->value(), 50);

    o.progressPaintEvery = std::chrono::milliseconds(1);
    QtScreen fast(o);
    QtDialog e(fast, sample());
    auto* other = widget<QProgressBar>(e, kProgress);
    e.show(true);
    e.setProgress(kProgress, 1);
    e.setProgress(kProgress, 2);
    EXPECT_EQ(other->value(), 1);
    // Nobody pumps and the clock stands still: the bar's timer still paints the last value.
    for (int i = 0; i < 1000 && other->value() != 2; ++i)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    EXPECT_EQ(other->value(), 2);
}

TEST_F(QtDialogTest, PictureShowsTheBitmapAtTheScale) {
    QtScreen s = screen(2);
    QtDialog d(s, sample());
    d.setPicture(kPicture, bitmap_.string());
    auto* label = widget<QLabel>(d, kPicture);
    EXPECT_EQ(label->pixmap().size(), QSize(40, 20));
    EXPECT_EQ(d.picture(kPicture), bitmap_.string());
    // Hard pixel edges: the black corner pixel becomes a 2 x 2 block.
    const QImage shown = label->pixmap().toImage();
    EXPECT_EQ(shown.pixelColor(1, 1), QColor(Qt::black));
    EXPECT_NE(shown.pixelColor(2, 2), QColor(Qt::black));

    d.setPicture(kPicture, (dir_ / "missing.bmp").string());
    EXPECT_TRUE(label->pixmap().isNull());
    d.setPicture(kPicture, "");
    EXPECT_EQ(d.picture(kPicture), "");
}

TEST_F(QtDialogTest, DeviceFontFallsBackToANarrowSansSerif) {
    QtScreen s = screen();
    DialogTemplate t = sample();
    t.controls[0].font = FontSpec{"Tahoma", 16, 800, true};
    QtDialog d(s, t);
    const QFont font = widget<QLabel>(d, kLabel)->font();
    const QFontInfo info(font);
    EXPECT_EQ(info.pixelSize(), 16);
    EXPECT_TRUE(info.italic());
    EXPECT_GE(info.weight(), 700);
    if (!QFontDatabase::hasFamily("Tahoma")) {
        const QStringList fallbacks = QFont::substitutes("Tahoma");
        EXPECT_TRUE(fallbacks.contains(info.family(), Qt::CaseInsensitive))
            << info.family().toStdString() << " not in " << fallbacks.join(",").toStdString();
    }
}

TEST_F(QtDialogTest, CloseBoxReportsInsteadOfClosing) {
    QtScreen s = screen();
    QtDialog d(s, sample());
    int closes = 0;
    d.setHandlers(testing::Handlers().close([&] { ++closes; }));
    d.show(true);
    d.pressCloseBox();
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(d.isVisible());  // the module's loop decides when it goes

    QtDialog plain(s, sample());
    plain.show(true);
    plain.pressCloseBox();
    EXPECT_FALSE(plain.isVisible());
}

}  // namespace
}  // namespace corvan::ui::qt
