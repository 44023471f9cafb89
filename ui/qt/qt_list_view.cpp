#include "ui/qt/qt_list_view.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include "ui/qt/qt_look.h"

namespace corvan::ui::qt {

namespace {

constexpr int kGreyRole = Qt::UserRole + 1;

// Draws the cells of a greyed row in grey; whole rows, whatever column was set last.
class GreyRowDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

  protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.siblingAtColumn(0).data(kGreyRole).toBool()) {
            // Rows without diagnostic data are drawn in the light grey of the menus.
            const QColor grey(200, 200, 200);
            option->palette.setColor(QPalette::Text, grey);
            option->palette.setColor(QPalette::HighlightedText, grey.lighter(150));
        }
    }
};

QTreeWidgetItem* rowItem(const QTreeWidget* list, int row) {
    if (row < 0 || row >= list->topLevelItemCount()) return nullptr;
    return list->topLevelItem(row);
}

}  // namespace

QTreeWidget* createListView(const ControlSpec& spec, int scale, QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setSelectionBehavior(spec.fullRowSelect ? QAbstractItemView::SelectRows
                                                  : QAbstractItemView::SelectItems);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setItemDelegate(new GreyRowDelegate(list));
    list->setFont(deviceFont(spec.font, scale));
    list->header()->setFont(deviceFont(spec.headerFont, scale));
    // The device's report view keeps every column at its width: the last one does not grow
    // into the free space, and the columns do not follow the headings' sort clicks.
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsMovable(false);
    list->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list->setHeaderHidden(!spec.showHeader);
    list->setColumnCount(0);
    list->setProperty("deviceWidth", spec.rect.w * scale);
    return list;
}

void setListColumns(QTreeWidget* list, const std::vector<Column>& columns, int scale) {
    QStringList headings;
    for (const Column& c : columns) headings << QString::fromStdString(c.heading);
    list->setColumnCount(static_cast<int>(columns.size()));
    list->setHeaderLabels(headings);
    int total = 0;
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        const int width = columns[i].width;
        list->setColumnHidden(i, width <= 0);
        if (width > 0) list->setColumnWidth(i, width * scale);
        if (width > 0) total += width * scale;
    }
    // The device's list scrolls sideways only when its visible columns are wider than the
    // list itself; a column as wide as the list (the shell's pages) needs no scroll bar,
    // though the frame and a vertical scroll bar take a few of its pixels here.
    const int width = list->property("deviceWidth").toInt();
    list->setHorizontalScrollBarPolicy(width > 0 && total <= width ? Qt::ScrollBarAlwaysOff
                                                                   : Qt::ScrollBarAsNeeded);
}

int addListRow(QTreeWidget* list, const std::vector<std::string>& cells) {
    auto* item = new QTreeWidgetItem(list);
    for (int i = 0; i < static_cast<int>(cells.size()); ++i)
        item->setText(i, QString::fromStdString(cells[i]));
    return list->indexOfTopLevelItem(item);
}

void setListCell(QTreeWidget* list, int row, int column, const QString& text) {
    if (auto* item = rowItem(list, row); item && column >= 0) item->setText(column, text);
}

QString listCell(const QTreeWidget* list, int row, int column) {
    const auto* item = rowItem(list, row);
    return item && column >= 0 ? item->text(column) : QString();
}

void setListRowGrey(QTreeWidget* list, int row, bool grey) {
    if (auto* item = rowItem(list, row)) item->setData(0, kGreyRole, grey);
}

bool isListRowGrey(const QTreeWidget* list, int row) {
    const auto* item = rowItem(list, row);
    return item && item->data(0, kGreyRole).toBool();
}

int selectedListRow(const QTreeWidget* list) {
    const auto selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->indexOfTopLevelItem(selected.first());
}

void selectListRow(QTreeWidget* list, int row) {
    QTreeWidgetItem* item = rowItem(list, row);
    if (!item) {
        list->clearSelection();
        return;
    }
    list->setCurrentItem(item);
    item->setSelected(true);
    list->scrollToItem(item);
}

}  // namespace corvan::ui::qt
