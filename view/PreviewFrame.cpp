#include "view/PreviewFrame.h"

#include <QPainter>

PreviewFrame::PreviewFrame(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    QPalette blackLine = palette();
    blackLine.setColor(QPalette::WindowText, Qt::black);
    setPalette(blackLine);
}

void PreviewFrame::setPicture(const QImage& picture)
{
    m_picture = picture;
    m_message.clear();
}

void PreviewFrame::setMessage(const QString& text)
{
    m_picture = QImage();
    m_message = text;
    setAccessibleDescription(text);
    update();
}

void PreviewFrame::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    if (!m_message.isEmpty()) {
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect().adjusted(4, 4, -4, -4), Qt::AlignCenter | Qt::TextWordWrap,
                         m_message);
        return;
    }
    if (m_picture.isNull())
        return;
    // The picture fills the frame but for a 3-pixel margin, 1 pixel from its top left.
    painter.drawImage(QRect(1, 1, width() - 3, height() - 3), m_picture);
}
