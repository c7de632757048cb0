#include "view/CMSFlexGrid.h"

#include "base/LocalFile.h"
#include "base/LocalPath.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QStyle>
#include <QUrl>

namespace {

// The files among the dropped URLs; folders and anything not on this machine are left out.
// The path is taken from the URL's own bytes, since QUrl::toLocalFile() would turn a name
// that is not valid UTF-8 into one that does not exist.
QStringList droppedFiles(const QMimeData* data)
{
    QStringList files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path =
            pathFromLocal(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
        if (fileKind(path) == FileKind::File)
            files << path;
    }
    return files;
}

} // namespace

CMSFlexGrid::CMSFlexGrid(int columnCount, QWidget* parent)
    : QTableWidget(0, columnCount - 1, parent)
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
    // Files from a file manager, not rows moved within the grid.
    setAcceptDrops(true);
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
    else if (column == 1)
        m_nameColumnWidth = pixels;
    else
        setColumnWidth(column - 1, pixels);
    fillWidth();
}

void CMSFlexGrid::resizeEvent(QResizeEvent* event)
{
    QTableWidget::resizeEvent(event);
    fillWidth();
}

void CMSFlexGrid::fillWidth()
{
    int others = 0;
    for (int column = 1; column < columnCount(); ++column)
        others += columnWidth(column);
    setColumnWidth(0, std::max(m_nameColumnWidth, viewport()->width() - others));
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

void CMSFlexGrid::setListLocked(bool locked)
{
    m_locked = locked;
    setAcceptDrops(!locked);
}

void CMSFlexGrid::addRowNote(int row, const QString& note)
{
    if (row <= 0 || row >= GetRowCount())
        return;
    if (!item(row - 1, 0))
        setItem(row - 1, 0, new QTableWidgetItem);
    QTableWidgetItem* name = item(row - 1, 0);
    const QString notes = rowNote(row).isEmpty() ? note : rowNote(row) + u'\n' + note;
    name->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
    name->setToolTip(notes);
    name->setData(Qt::AccessibleDescriptionRole, notes);
}

QString CMSFlexGrid::rowNote(int row) const
{
    const QTableWidgetItem* name = row > 0 ? item(row - 1, 0) : nullptr;
    return name ? name->toolTip() : QString();
}

void CMSFlexGrid::clearRowNotes()
{
    for (int row = 0; row < rowCount(); ++row) {
        if (QTableWidgetItem* name = item(row, 0)) {
            name->setIcon(QIcon());
            name->setToolTip(QString());
            name->setData(Qt::AccessibleDescriptionRole, QVariant());
        }
    }
}

void CMSFlexGrid::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool choosesRow = event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
                            event->key() == Qt::Key_Enter;
    if (choosesRow && GetRow() > 0 && event->modifiers() == Qt::NoModifier) {
        emit Click();
        return;
    }
    // Shift+Delete is the window's Cut key, which does nothing.
    if (event->key() == Qt::Key_Delete && modifiers == Qt::NoModifier) {
        if (!m_locked)
            emit deletePressed();
        return;
    }
    if (event->key() >= Qt::Key_0 && event->key() <= Qt::Key_5 && modifiers == Qt::NoModifier) {
        if (!m_locked)
            emit groupKeyPressed(event->key() - Qt::Key_0);
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void CMSFlexGrid::dragEnterEvent(QDragEnterEvent* event)
{
    if (droppedFiles(event->mimeData()).isEmpty())
        event->ignore();
    else
        event->acceptProposedAction();
}

void CMSFlexGrid::dragMoveEvent(QDragMoveEvent* event)
{
    // Anywhere on the list: the pictures go to its end, as Add puts them.
    event->acceptProposedAction();
}

void CMSFlexGrid::dropEvent(QDropEvent* event)
{
    const QStringList files = droppedFiles(event->mimeData());
    if (files.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit filesDropped(files);
}

QTableWidgetItem* CMSFlexGrid::cellItem(int row, int column) const
{
    if (row == 0)
        return column > 0 ? horizontalHeaderItem(column - 1) : nullptr;
    if (column == 0)
        return verticalHeaderItem(row - 1);
    return item(row - 1, column - 1);
}
