#pragma once
// The report-style list: columns with headings and widths (width 0 hides a column), one row
// per entry, whole-row selection, rows the module greys out.
#include <QString>
#include <string>
#include <vector>

#include "ui/dialog_template.h"
#include "ui/screen.h"

class QTreeWidget;
class QWidget;

namespace corvan::ui::qt {

QTreeWidget* createListView(const ControlSpec& spec, int scale, QWidget* parent);

void setListColumns(QTreeWidget* list, const std::vector<Column>& columns, int scale);
int addListRow(QTreeWidget* list, const std::vector<std::string>& cells);
// Row and column indexes outside the list are ignored (empty text, false).
void setListCell(QTreeWidget* list, int row, int column, const QString& text);
QString listCell(const QTreeWidget* list, int row, int column);
void setListRowGrey(QTreeWidget* list, int row, bool grey);
bool isListRowGrey(const QTreeWidget* list, int row);
int selectedListRow(const QTreeWidget* list);
// -1 clears the selection. Does not report a tap: the module chose the row itself.
void selectListRow(QTreeWidget* list, int row);

}  // namespace corvan::ui::qt
