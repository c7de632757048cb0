#include "view/CMSFlexGrid.h"

#include "base/LocalFile.h"
#include "base/LocalPath.h"
#include "view/RowPictureDelegate.h"

#include <QCoreApplication>
#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QUrl>

#include <vector>

namespace {

constexpr int detailsRole = Qt::UserRole + 2;
constexpr const char* rowDragFormat = "application/x-morvane-rows";

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
    // "Image Files" sorts by name; the header flips its indicator on any click, so ours is
    // put back afterwards.
    horizontalHeader()->setSectionsClickable(true);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        if (section == 0 && !m_locked)
            emit nameHeaderClicked();
        showNameOrder(m_nameOrder);
    });
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setHighlightSections(false);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    for (int column = 0; column < columnCount - 1; ++column)
        setHorizontalHeaderItem(column, new QTableWidgetItem);
    connect(this, &QTableWidget::cellClicked, this, &CMSFlexGrid::Click);

    // Two lines of text high, in the shape of most photographs.
    const int pictureHeight = 2 * fontMetrics().height();
    m_pictureBox = QSize(pictureHeight * 4 / 3, pictureHeight);
    setIconSize(m_pictureBox);
    setItemDelegateForColumn(0, new RowPictureDelegate(m_pictureBox, this));
    verticalHeader()->setDefaultSectionSize(
        std::max(verticalHeader()->defaultSectionSize(), pictureHeight + 4));
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &CMSFlexGrid::visibleRowsChanged);

    // Files from a file manager, and rows dragged to another place in the list.
    setAcceptDrops(true);
    setDragEnabled(true);
    setDropIndicatorShown(false);
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
    emit visibleRowsChanged();
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
        // A header longer than its column, as in another language, widens the column to it.
        const QFontMetrics metrics = horizontalHeader()->fontMetrics();
        if (row == 0 && column > 1 &&
            metrics.horizontalAdvance(text) + 4 > columnWidth(column - 1)) {
            const int margin =
                style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader());
            setColumnWidth(column - 1, metrics.horizontalAdvance(text) + 2 * margin);
            fillWidth();
        }
    } else if (row > 0 && column > 0 && row < GetRowCount()) {
        setItem(row - 1, column - 1, new QTableWidgetItem(text));
    }
}

void CMSFlexGrid::RemoveRow(int row)
{
    removeRow(row - 1);
}

void CMSFlexGrid::permuteRows(std::span<const int> order)
{
    Q_ASSERT(order.size() == size_t(rowCount()));
    const int columns = columnCount();
    std::vector<QTableWidgetItem*> items(order.size() * size_t(columns));
    for (int row = 0; row < rowCount(); ++row)
        for (int column = 0; column < columns; ++column)
            items[size_t(row * columns + column)] = takeItem(row, column);
    // The row-number items are the header's and stay where they are.
    for (int row = 0; row < rowCount(); ++row)
        for (int column = 0; column < columns; ++column)
            if (QTableWidgetItem* item = items[size_t(order[size_t(row)] * columns + column)])
                setItem(row, column, item);
}

void CMSFlexGrid::selectRows(int first, int last, int current)
{
    const QModelIndex currentIndex = model()->index(current - 1, 0);
    selectionModel()->setCurrentIndex(currentIndex, QItemSelectionModel::NoUpdate);
    selectionModel()->select(
        QItemSelection(model()->index(first - 1, 0), model()->index(last - 1, columnCount() - 1)),
        QItemSelectionModel::ClearAndSelect);
    scrollTo(currentIndex);
}

std::pair<int, int> CMSFlexGrid::visibleRows() const
{
    const int top = rowAt(0);
    if (top < 0)
        return {1, 0};
    const int bottom = rowAt(viewport()->height() - 1);
    return {top + 1, (bottom < 0 ? rowCount() - 1 : bottom) + 1};
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
    const QString notes = rowNote(row);
    QTableWidgetItem* name = nameItem(row);
    name->setData(RowPictureDelegate::noteRole, notes.isEmpty() ? note : notes + u'\n' + note);
    updateToolTip(name);
}

QString CMSFlexGrid::rowNote(int row) const
{
    const QTableWidgetItem* name = row > 0 ? item(row - 1, 0) : nullptr;
    return name ? name->data(RowPictureDelegate::noteRole).toString() : QString();
}

void CMSFlexGrid::clearRowNotes()
{
    for (int row = 0; row < rowCount(); ++row) {
        QTableWidgetItem* name = item(row, 0);
        if (name && name->data(RowPictureDelegate::noteRole).isValid()) {
            name->setData(RowPictureDelegate::noteRole, QVariant());
            updateToolTip(name);
        }
    }
}

void CMSFlexGrid::setRowDetails(int row, const QString& details)
{
    if (row <= 0 || row >= GetRowCount())
        return;
    QTableWidgetItem* name = nameItem(row);
    name->setData(detailsRole, details);
    updateToolTip(name);
}

QString CMSFlexGrid::rowDetails(int row) const
{
    const QTableWidgetItem* name = row > 0 ? item(row - 1, 0) : nullptr;
    return name ? name->data(detailsRole).toString() : QString();
}

void CMSFlexGrid::setRowPicture(int row, const QImage& picture)
{
    if (row <= 0 || row >= GetRowCount())
        return;
    nameItem(row)->setData(Qt::DecorationRole, picture.isNull() ? QVariant() : QVariant(picture));
}

QImage CMSFlexGrid::rowPicture(int row) const
{
    const QTableWidgetItem* name = row > 0 ? item(row - 1, 0) : nullptr;
    return name ? qvariant_cast<QImage>(name->data(Qt::DecorationRole)) : QImage();
}

// The notes first: a row with a warning sign is hovered for its reason.
void CMSFlexGrid::updateToolTip(QTableWidgetItem* name)
{
    const QString details = name->data(detailsRole).toString();
    const QString notes = name->data(RowPictureDelegate::noteRole).toString();
    const QString tip = notes.isEmpty()     ? details
                        : details.isEmpty() ? notes
                                            : notes + QStringLiteral("\n\n") + details;
    name->setToolTip(tip);
    name->setData(Qt::AccessibleDescriptionRole, tip.isEmpty() ? QVariant() : QVariant(tip));
}

void CMSFlexGrid::showNameOrder(std::optional<Qt::SortOrder> order)
{
    m_nameOrder = order;
    horizontalHeader()->setSortIndicatorShown(order.has_value());
    if (order)
        horizontalHeader()->setSortIndicator(0, *order);
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

// Names this list in this process, so rows dragged from another window are no moves here.
QByteArray CMSFlexGrid::rowDragTag() const
{
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
           QByteArray::number(quintptr(this));
}

QMimeData* CMSFlexGrid::rowDragData() const
{
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(rowDragFormat), rowDragTag());
    return data;
}

bool CMSFlexGrid::isOwnRowDrag(const QMimeData* data) const
{
    return data->data(QString::fromLatin1(rowDragFormat)) == rowDragTag();
}

// Rows of this list over it: where they would land, or nothing while the list is locked.
void CMSFlexGrid::acceptRowDrag(QDragMoveEvent* event)
{
    if (m_locked) {
        event->ignore();
        return;
    }
    setDropGap(dropGap(event->position().toPoint()));
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

std::pair<int, int> CMSFlexGrid::selectedRows() const
{
    const int current = GetRow();
    const int other = GetSelEndRow();
    return {std::min(current, other), std::max(current, other)};
}

// The rows travel as a picture of themselves; the list moves them once they are dropped.
void CMSFlexGrid::startDrag(Qt::DropActions)
{
    const auto [first, last] = selectedRows();
    if (m_locked || first <= 0)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(rowDragData());
    const QRect rows = visualRect(model()->index(first - 1, 0))
                           .united(visualRect(model()->index(last - 1, columnCount() - 1)))
                           .intersected(viewport()->rect());
    if (!rows.isEmpty()) {
        drag->setPixmap(viewport()->grab(rows));
        drag->setHotSpot(viewport()->mapFromGlobal(QCursor::pos()) - rows.topLeft());
    }
    drag->exec(Qt::MoveAction);
}

void CMSFlexGrid::dragEnterEvent(QDragEnterEvent* event)
{
    if (isOwnRowDrag(event->mimeData()))
        acceptRowDrag(event);
    else if (droppedFiles(event->mimeData()).isEmpty()) {
        event->ignore();
    } else {
        event->acceptProposedAction();
    }
}

void CMSFlexGrid::dragMoveEvent(QDragMoveEvent* event)
{
    // Scrolls the list while a drag stays near its top or bottom edge.
    QTableWidget::dragMoveEvent(event);
    if (isOwnRowDrag(event->mimeData()))
        acceptRowDrag(event);
    else
        // Anywhere on the list: the pictures go to its end, as Add puts them.
        event->acceptProposedAction();
}

void CMSFlexGrid::dragLeaveEvent(QDragLeaveEvent* event)
{
    setDropGap(0);
    QTableWidget::dragLeaveEvent(event);
}

void CMSFlexGrid::dropEvent(QDropEvent* event)
{
    stopAutoScroll();
    setState(NoState);
    setDropGap(0);
    if (isOwnRowDrag(event->mimeData())) {
        if (m_locked) {
            event->ignore();
            return;
        }
        event->setDropAction(Qt::MoveAction);
        event->accept();
        emit rowsDropped(dropGap(event->position().toPoint()));
        return;
    }
    const QStringList files = droppedFiles(event->mimeData());
    if (files.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit filesDropped(files);
}

// Above the middle of a row, the rows go before it; below, after it; below the last row,
// to the end.
int CMSFlexGrid::dropGap(QPoint position) const
{
    const int row = rowAt(position.y());
    if (row < 0)
        return GetRowCount();
    const QRect cell = visualRect(model()->index(row, 0));
    return row + 1 + (position.y() > cell.center().y() ? 1 : 0);
}

void CMSFlexGrid::setDropGap(int gap)
{
    if (gap == m_dropGap)
        return;
    m_dropGap = gap;
    viewport()->update();
}

// A line between the rows where the dragged ones would land.
void CMSFlexGrid::paintEvent(QPaintEvent* event)
{
    QTableWidget::paintEvent(event);
    if (m_dropGap <= 0 || rowCount() == 0)
        return;
    const int y = m_dropGap <= rowCount()
                      ? rowViewportPosition(m_dropGap - 1)
                      : rowViewportPosition(rowCount() - 1) + rowHeight(rowCount() - 1) - 1;
    QPainter painter(viewport());
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawLine(0, y, viewport()->width(), y);
}

QTableWidgetItem* CMSFlexGrid::cellItem(int row, int column) const
{
    if (row == 0)
        return column > 0 ? horizontalHeaderItem(column - 1) : nullptr;
    if (column == 0)
        return verticalHeaderItem(row - 1);
    return item(row - 1, column - 1);
}

QTableWidgetItem* CMSFlexGrid::nameItem(int row)
{
    if (!item(row - 1, 0))
        setItem(row - 1, 0, new QTableWidgetItem);
    return item(row - 1, 0);
}
