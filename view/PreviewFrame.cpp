#include "view/PreviewFrame.h"

#include <QPainter>

PreviewFrame::PreviewFrame(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    QPalette blackLine = palette();
    blackLine.setColor(QPalette::WindowText, Qt::black);
    setPalette(blackLine);
}

void PreviewFrame::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    if (m_picture.isNull())
        return;
    // The picture fills the frame but for a 3-pixel margin, 1 pixel from its top left.
    QPainter painter(this);
    painter.drawImage(QRect(1, 1, width() - 3, height() - 3), m_picture);
}
