#include "view/CMSFlexGrid.h"

#include <QHeaderView>
#include <QKeyEvent>

CMSFlexGrid::CMSFlexGrid(int columnCount, QWidget* parent) : QTableWidget(0, columnCount - 1, parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    for (int column = 0; column < columnCount - 1; ++column)
        setHorizontalHeaderItem(column, new QTableWidgetItem);
    connect(this, &QTableWidget::cellClicked, this, &CMSFlexGrid::Click);
}

void CMSFlexGrid::SetRowCount(int rows)
{
    const int oldRows = rowCount();
    setRowCount(qMax(rows - 1, 0));
    for (int row = oldRows; row < rowCount(); ++row)
        setVerticalHeaderItem(row, new QTableWidgetItem);
}

int CMSFlexGrid::GetRow() const
{
    return currentRow() + 1;
}

int CMSFlexGrid::GetSelEndRow() const
{
    const int current = currentRow();
    for (const QTableWidgetSelectionRange& range : selectedRanges()) {
        if (range.topRow() == current)
            return range.bottomRow() + 1;
        if (range.bottomRow() == current)
            return range.topRow() + 1;
    }
    return GetRow();
}

void CMSFlexGrid::SetColumnWidth(int column, int twips)
{
    const int pixels = twips * logicalDpiX() / 1440;
    if (column == 0)
        verticalHeader()->setFixedWidth(pixels);
    else
        setColumnWidth(column - 1, pixels);
}

QString CMSFlexGrid::GetCellText(int row, int column) const
{
    const QTableWidgetItem* item = cellItem(row, column);
    return item ? item->text() : QString();
}

void CMSFlexGrid::SetCellText(int row, int column, const QString& text)
{
    if (QTableWidgetItem* item = cellItem(row, column)) {
        item->setText(text);
    } else if (row > 0 && column > 0 && row < GetRowCount()) {
        setItem(row - 1, column - 1, new QTableWidgetItem(text));
    }
}

void CMSFlexGrid::RemoveRow(int row)
{
    removeRow(row - 1);
}

void CMSFlexGrid::keyPressEvent(QKeyEvent* event)
{
    const bool choosesRow = event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
                            event->key() == Qt::Key_Enter;
    if (choosesRow && GetRow() > 0 && event->modifiers() == Qt::NoModifier) {
        emit Click();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

QTableWidgetItem* CMSFlexGrid::cellItem(int row, int column) const
{
    if (row == 0)
        return column > 0 ? horizontalHeaderItem(column - 1) : nullptr;
    if (column == 0)
        return verticalHeaderItem(row - 1);
    return item(row - 1, column - 1);
}
