#pragma once

#include <QImage>
#include <QTableWidget>

#include <optional>
#include <span>
#include <utility>

// The picture grid. Row 0 is the frozen header row and column 0 the fixed column of running
// numbers; rows and columns are counted with them, so data row r is the table's row r - 1.
// Beside its file name each row shows a small picture of its own, and its tooltip tells
// the row's details and notes.
class CMSFlexGrid : public QTableWidget
{
    Q_OBJECT

public:
    explicit CMSFlexGrid(int columnCount, QWidget* parent = nullptr);

    int GetRowCount() const { return rowCount() + 1; }
    // Growing appends empty rows at the bottom, shrinking drops rows from the bottom.
    void SetRowCount(int rows);
    // The current row, 0 when no data row is current.
    int GetRow() const;
    // The other end of the selected row range; the current row when one row is selected.
    int GetSelEndRow() const;
    void SetColumnWidth(int column, int twips);
    QString GetCellText(int row, int column) const;
    void SetCellText(int row, int column, const QString& text);
    void RemoveRow(int row);

    // Puts the data rows in a new order: order[i] is the present index of the row that is to
    // stand at index i (data row i + 1), as ImageList::reorder takes it, and must be a
    // permutation of the rows. Each row's cells, notes and picture go with it; the running
    // numbers stay 1, 2, 3 from the top.
    void permuteRows(std::span<const int> order);
    // Selects the data rows first to last and makes current one of them current.
    void selectRows(int first, int last, int current);
    // The data rows at least partly in sight, as first and last; last < first when none is.
    std::pair<int, int> visibleRows() const;

    // While locked, nothing dropped is taken, rows cannot be dragged, and Delete, the group
    // keys and a click on the header do nothing: a run works through the rows as they were
    // when it started.
    void setListLocked(bool locked);
    // A note on a data row that did not come out whole: a warning sign on its picture, and
    // the notes in its tooltip, one a line.
    void addRowNote(int row, const QString& note);
    QString rowNote(int row) const;
    void clearRowNotes();
    // What the tooltip tells first of a data row (its path, size and date), above its notes.
    void setRowDetails(int row, const QString& details);
    QString rowDetails(int row) const;
    // A data row's small picture, left of its file name; a null image shows none.
    void setRowPicture(int row, const QImage& picture);
    QImage rowPicture(int row) const;
    // The box a row picture fits into, in the grid's own pixels.
    QSize rowPictureBox() const { return m_pictureBox; }

    // The sort indicator on "Image Files", or none: the list stands sorted by file name this
    // way; none after a move.
    void showNameOrder(std::optional<Qt::SortOrder> order);
    std::optional<Qt::SortOrder> nameOrder() const { return m_nameOrder; }
    // The selected data rows as first and last; first is 0 when the header row is current.
    std::pair<int, int> selectedRows() const;

    // What a drag of the selected rows carries: only this grid takes it, as a move.
    QMimeData* rowDragData() const;

signals:
    // A data row was clicked, or chosen with the keyboard.
    void Click();
    // Files were dropped from a file manager: their paths, in the order dropped.
    void filesDropped(const QStringList& paths);
    // The Delete key, to remove the selected rows.
    void deletePressed();
    // The selected rows were dragged to stand before data row gap (GetRowCount() is the end).
    void rowsDropped(int gap);
    // A key 1 to 5 sets the selected rows' group, 0 clears it.
    void groupKeyPressed(int group);
    // A click on the "Image Files" header.
    void nameHeaderClicked();
    // Other rows came into sight: scrolled, resized, or rows added.
    void visibleRowsChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The file names take whatever width the list has beyond its columns' own.
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QTableWidgetItem* cellItem(int row, int column) const;
    // The file-name item of a data row, made when the row has none yet.
    QTableWidgetItem* nameItem(int row);
    void updateToolTip(QTableWidgetItem* name);
    QByteArray rowDragTag() const;
    bool isOwnRowDrag(const QMimeData* data) const;
    void acceptRowDrag(QDragMoveEvent* event);
    // Where rows dropped at the point (in the list's viewport) would go: before this data row.
    int dropGap(QPoint position) const;
    void setDropGap(int gap);

    void fillWidth();

    bool m_locked = false;
    int m_nameColumnWidth = 0; // as set, before the list's extra width
    QSize m_pictureBox;
    std::optional<Qt::SortOrder> m_nameOrder;
    int m_dropGap = 0; // while rows are dragged over the list; 0 otherwise
};
