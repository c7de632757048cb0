#include "view/RowPictureDelegate.h"

#include <QApplication>
#include <QPainter>

RowPictureDelegate::RowPictureDelegate(QSize pictureBox, QObject* parent)
    : QStyledItemDelegate(parent), m_pictureBox(pictureBox)
{
}

void RowPictureDelegate::initStyleOption(QStyleOptionViewItem* option,
                                         const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    // A picture smaller than the box stands in its middle; without one the box stays empty.
    option->features |= QStyleOptionViewItem::HasDecoration;
    option->decorationSize = m_pictureBox;
    option->decorationAlignment = Qt::AlignCenter;
}

void RowPictureDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    if (index.data(noteRole).toString().isEmpty())
        return;
    QStyleOptionViewItem item(option);
    initStyleOption(&item, index);
    const QWidget* widget = item.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    const QRect picture = style->subElementRect(QStyle::SE_ItemViewItemDecoration, &item, widget);
    // In the picture's lower right corner, where it hides the least of it.
    const int side = std::min({style->pixelMetric(QStyle::PM_SmallIconSize, &item, widget),
                               picture.width(), picture.height()});
    const QRect sign(picture.right() - side + 1, picture.bottom() - side + 1, side, side);
    style->standardIcon(QStyle::SP_MessageBoxWarning, &item, widget).paint(painter, sign);
}
