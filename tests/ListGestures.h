#pragma once

#include "view/CMSFlexGrid.h"
#include "view/CMorvaneView.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>

// The list as a user handles it with the mouse, and what its grid shows of it.
namespace ListGestures {

inline void clickRow(CMSFlexGrid& grid, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QRect cell = grid.visualItemRect(grid.item(row - 1, 0));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers, cell.center());
}

// Clicks the first row, then Shift+clicks the other, as a user selects a range.
inline void selectRows(CMSFlexGrid& grid, int clicked, int shiftClicked)
{
    clickRow(grid, clicked);
    clickRow(grid, shiftClicked, Qt::ShiftModifier);
    QCOMPARE(grid.GetRow(), shiftClicked);
    QCOMPARE(grid.GetSelEndRow(), clicked);
}

// Drags the data over the list and drops it at the point; false when the list refused it on
// the way in or took it with another action.
inline bool dropOnto(CMSFlexGrid& grid, const QMimeData& data, QPoint position,
                     Qt::DropAction action)
{
    QWidget* list = grid.viewport();
    QDragEnterEvent enter(position, action, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list, &enter);
    if (!enter.isAccepted())
        return false;
    QDragMoveEvent move(position, action, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list, &move);
    QDropEvent dropped(position, action, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(list, &dropped);
    return dropped.isAccepted() && dropped.dropAction() == action;
}

// Where the grid departs from the list, which it shows as one row per picture, numbered
// from 1, with the file's name; empty when it shows the list as it is.
inline QString gridMismatch(CMorvaneView& view)
{
    const CMSFlexGrid& grid = view.grid();
    if (grid.GetRowCount() != view.images().size() + 1)
        return QStringLiteral("grid and list differ in length");
    for (int row = 1; row < grid.GetRowCount(); ++row) {
        if (grid.GetCellText(row, 0) != QString::number(row) ||
            grid.GetCellText(row, 1) != view.images()[row - 1].GetFileName())
            return QStringLiteral("row %1 differs").arg(row);
    }
    return {};
}

} // namespace ListGestures
