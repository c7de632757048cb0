#pragma once

#include <QFrame>
#include <QImage>

// The black frame beside the grid that shows the preview of the picture last clicked, or
// why that picture shows none.
class PreviewFrame : public QFrame
{
    Q_OBJECT

public:
    explicit PreviewFrame(QWidget* parent = nullptr);

    // Takes the picture to draw at the next paint. It asks for no repaint: the view sets it
    // while painting, and a request from there would paint again and again.
    void setPicture(const QImage& picture);
    // Shows a text instead of a picture, such as why the picture cannot be read.
    void setMessage(const QString& text);
    QString message() const { return m_message; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
    QString m_message;
};
