#pragma once

#include <QTableWidget>

// The picture grid. Row 0 is the frozen header row and column 0 the fixed column of running
// numbers; rows and columns are counted with them, so data row r is the table's row r - 1.
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

    // While locked, nothing dropped is taken, and Delete and the group keys do nothing: a run
    // works through the rows as they were when it started.
    void setListLocked(bool locked);
    // A note on a data row that did not come out whole: a warning sign on its file name,
    // and the notes as its tooltip, one a line.
    void addRowNote(int row, const QString& note);
    QString rowNote(int row) const;
    void clearRowNotes();

signals:
    // A data row was clicked, or chosen with the keyboard.
    void Click();
    // Files were dropped from a file manager: their paths, in the order dropped.
    void filesDropped(const QStringList& paths);
    // The Delete key, to remove the selected rows.
    void deletePressed();
    // A key 1 to 5 sets the selected rows' group, 0 clears it.
    void groupKeyPressed(int group);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The file names take whatever width the list has beyond its columns' own.
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QTableWidgetItem* cellItem(int row, int column) const;

    void fillWidth();

    bool m_locked = false;
    int m_nameColumnWidth = 0; // as set, before the list's extra width
};
