#include "view/PreviewBox.h"

#include "view/PreviewFrame.h"

#include <QResizeEvent>

PreviewBox::PreviewBox(PreviewFrame* frame, int side, QWidget* parent)
    : QWidget(parent), m_side(side)
{
    frame->setParent(this);
    frame->resize(side, side);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    setMinimumSize(side / 2, side / 2);
    setFixedWidth(side);
}

void PreviewBox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // Wide as high: only the height comes from the layout.
    if (event->size().height() != width())
        setFixedWidth(event->size().height());
}
