// The report list: columns, rows, grey rows, selection and the technician's taps, checked
// on the QTreeWidget the dialog builds.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QPainter>
#include <QTest>
#include <QTreeWidget>
#include <QWindow>

#include "ui/qt/qt_dialog.h"
#include "ui/qt/qt_screen.h"
#include "ui/qt/qt_test_support.h"

namespace corvan::ui::qt {
namespace {

constexpr int kList = 10;

DialogTemplate menuTemplate(bool fullRow = true) {
    ControlSpec list;
    list.id = kList;
    list.kind = ControlKind::ListView;
    list.rect = {5, 5, 200, 150};
    list.fullRowSelect = fullRow;
    list.font = {"Tahoma", 16, 800, false};
    list.headerFont = {"Tahoma", 13, 800, true};
    DialogTemplate t;
    t.name = "LIST";
    t.controls = {list};
    return t;
}

class QtListViewTest : public ::testing::Test {
  protected:
    QtScreen screen_{testing::Options(1).watched(false)};
    QtDialog dialog_{screen_, menuTemplate()};
    QTreeWidget* list_ = dialog_.window()->findChild<QTreeWidget*>(QString::number(kList));

    void fill() {
        dialog_.setColumns(kList, {{"DESCRIPTION", 140}, {"ID", 0}, {"INFORMATION", 165}});
        dialog_.addRow(kList, {"Part number", "I000", "???"});
        dialog_.addRow(kList, {"Software", "I001", "SIMULATION MODE"});
        dialog_.addRow(kList, {"Coding", "I002"});
    }

    // Darkest grey level of the text of one cell as the list paints it.
    int darkestInk(int row, int column) {
        const QModelIndex index = list_->model()->index(row, column);
        QStyleOptionViewItem option;
        option.initFrom(list_->viewport());
        option.rect = QRect(0, 0, 160, 24);
        option.font = list_->font();
        option.features |= QStyleOptionViewItem::HasDisplay;
        QImage image(160, 24, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        list_->itemDelegate()->paint(&painter, option, index);
        painter.end();
        int darkest = 255;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                darkest = std::min(darkest, qGray(image.pixel(x, y)));
        return darkest;
    }
};

TEST_F(QtListViewTest, ColumnsHaveHeadingsWidthsAndHiddenOnes) {
    fill();
    ASSERT_EQ(list_->columnCount(), 3);
    EXPECT_EQ(list_->headerItem()->text(0), "DESCRIPTION");
    EXPECT_EQ(list_->headerItem()->text(2), "INFORMATION");
    EXPECT_EQ(list_->columnWidth(0), 140);
    EXPECT_EQ(list_->columnWidth(2), 165);
    EXPECT_TRUE(list_->isColumnHidden(1));
    EXPECT_FALSE(list_->isColumnHidden(2));
    EXPECT_FALSE(list_->header()->stretchLastSection());
    EXPECT_EQ(dialog_.columns(kList)[1].width, 0);
    EXPECT_EQ(list_->header()->font().pixelSize(), 13);
    EXPECT_TRUE(list_->header()->font().italic());
    EXPECT_EQ(list_->font().pixelSize(), 16);
    EXPECT_EQ(list_->font().weight(), QFont::ExtraBold);
}

TEST_F(QtListViewTest, ColumnWidthsFollowTheScale) {
    QtScreen big{testing::Options(3).watched(false)};
    QtDialog d(big, menuTemplate());
    d.setColumns(kList, {{"OPTIONS", 185}});
    auto* list = d.window()->findChild<QTreeWidget*>(QString::number(kList));
    EXPECT_EQ(list->columnWidth(0), 555);
    EXPECT_EQ(list->font().pixelSize(), 48);
}

// A list sideways scrolls only when its visible columns are wider than the list itself.
TEST_F(QtListViewTest, HorizontalScrollBarOnlyForColumnsWiderThanTheList) {
    dialog_.setColumns(kList, {{"MENU", 200}, {"KEY", 0}, {"FILE", 0}});
    EXPECT_EQ(list_->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    dialog_.setColumns(kList, {{"DESCRIPTION", 140}, {"INFORMATION", 165}});
    EXPECT_EQ(list_->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QtScreen big{testing::Options(2).watched(false)};
    QtDialog d(big, menuTemplate());
    d.setColumns(kList, {{"MENU", 200}});
    auto* list = d.window()->findChild<QTreeWidget*>(QString::number(kList));
    EXPECT_EQ(list->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

TEST_F(QtListViewTest, RowsAndCells) {
    fill();
    EXPECT_EQ(dialog_.rowCount(kList), 3);
    EXPECT_EQ(list_->topLevelItemCount(), 3);
    EXPECT_EQ(dialog_.cell(kList, 1, 2), "SIMULATION MODE");
    dialog_.setCell(kList, 2, 2, "0123");
    EXPECT_EQ(list_->topLevelItem(2)->text(2), "0123");
    EXPECT_EQ(dialog_.cell(kList, 1, 1), "I001");  // hidden columns keep their text
    dialog_.setCell(kList, 7, 0, "x");
    EXPECT_EQ(dialog_.cell(kList, 7, 0), "");
    EXPECT_EQ(dialog_.cell(kList, -1, 0), "");
    dialog_.clearRows(kList);
    EXPECT_EQ(list_->topLevelItemCount(), 0);
    EXPECT_EQ(dialog_.addRow(kList, {"again"}), 0);
}

TEST_F(QtListViewTest, GreyRowsAreDrawnGrey) {
    fill();
    dialog_.setRowGrey(kList, 1, true);
    EXPECT_TRUE(dialog_.isRowGrey(kList, 1));
    EXPECT_FALSE(dialog_.isRowGrey(kList, 0));
    EXPECT_FALSE(dialog_.isRowGrey(kList, 9));
    // Every cell of the row, also one set after the row was greyed.
    dialog_.setCell(kList, 1, 2, "later");
    EXPECT_LT(darkestInk(0, 0), 60);
    EXPECT_GT(darkestInk(1, 0), 90);
    EXPECT_GT(darkestInk(1, 2), 90);
    dialog_.setRowGrey(kList, 1, false);
    EXPECT_LT(darkestInk(1, 0), 60);
}

TEST_F(QtListViewTest, ModuleSelectionIsNotATap) {
    fill();
    int taps = 0;
    dialog_.setHandlers(testing::Handlers().tap([&](int, int) { ++taps; }));
    EXPECT_EQ(dialog_.selectedRow(kList), -1);
    dialog_.selectRow(kList, 2);
    EXPECT_EQ(dialog_.selectedRow(kList), 2);
    EXPECT_TRUE(list_->topLevelItem(2)->isSelected());
    dialog_.selectRow(kList, -1);
    EXPECT_EQ(dialog_.selectedRow(kList), -1);
    EXPECT_EQ(taps, 0);
}

TEST_F(QtListViewTest, TapsSelectWholeRowsAndReport) {
    fill();
    std::vector<std::pair<int, int>> taps, doubles;
    dialog_.setHandlers(testing::Handlers()
                            .tap([&](int id, int row) { taps.emplace_back(id, row); })
                            .doubleTap([&](int id, int row) { doubles.emplace_back(id, row); }));
    EXPECT_EQ(list_->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_TRUE(dialog_.tapRow(kList, 1));
    EXPECT_EQ(dialog_.selectedRow(kList), 1);
    EXPECT_TRUE(dialog_.doubleTapRow(kList, 0));
    EXPECT_FALSE(dialog_.tapRow(kList, 3));
    EXPECT_EQ(taps, (std::vector<std::pair<int, int>>{{kList, 1}, {kList, 0}}));
    EXPECT_EQ(doubles, (std::vector<std::pair<int, int>>{{kList, 0}}));
}

TEST_F(QtListViewTest, PenOnTheRowsReachesTheHandlers) {
    fill();
    std::vector<int> taps, doubles;
    dialog_.setHandlers(testing::Handlers()
                            .tap([&](int, int row) { taps.push_back(row); })
                            .doubleTap([&](int, int row) { doubles.push_back(row); }));
    dialog_.show(true);
    // Through the window, as the window system delivers a pen: press, release, and for a
    // double tap a second press that the application turns into a double click.
    QWindow* window = dialog_.window()->windowHandle();
    auto at = [&](int row) {
        const QPoint p = list_->visualItemRect(list_->topLevelItem(row)).center();
        return list_->viewport()->mapTo(dialog_.window(), p);
    };
    QTest::mouseClick(window, Qt::LeftButton, {}, at(1));
    EXPECT_EQ(dialog_.selectedRow(kList), 1);
    QTest::mouseDClick(window, Qt::LeftButton, {}, at(2));
    EXPECT_EQ(dialog_.selectedRow(kList), 2);
    EXPECT_EQ(taps.front(), 1);
    EXPECT_EQ(taps.back(), 2);
    EXPECT_EQ(doubles, std::vector<int>{2});
}

TEST_F(QtListViewTest, CellSelectionWhenTheTemplateAsksForIt) {
    QtDialog d(screen_, menuTemplate(false));
    auto* list = d.window()->findChild<QTreeWidget*>(QString::number(kList));
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectItems);
}

}  // namespace
}  // namespace corvan::ui::qt
