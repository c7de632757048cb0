#pragma once

#include <QStyledItemDelegate>

// Draws a file name of the list with its row picture in a box of one size for every row,
// so that the names line up whether a row has its picture yet or not, and puts a warning
// sign on the picture of a row that carries a note.
class RowPictureDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    // The text of a row's notes, empty when it has none.
    static constexpr int noteRole = Qt::UserRole + 1;

    RowPictureDelegate(QSize pictureBox, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    QSize m_pictureBox;
};
