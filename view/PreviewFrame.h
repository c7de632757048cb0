#pragma once

#include <QFrame>
#include <QImage>

// The black frame beside the grid that shows the preview of the picture last clicked.
class PreviewFrame : public QFrame
{
    Q_OBJECT

public:
    explicit PreviewFrame(QWidget* parent = nullptr);

    // Takes the picture to draw at the next paint. It asks for no repaint: the view sets it
    // while painting, and a request from there would paint again and again.
    void setPicture(const QImage& picture) { m_picture = picture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};
