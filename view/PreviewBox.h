#pragma once

#include <QWidget>

class PreviewFrame;

// The square beside the grid that the preview frame is fitted into. The form's layout gives
// it its height as the window grows; it keeps itself as wide as it is high.
class PreviewBox : public QWidget
{
    Q_OBJECT

public:
    PreviewBox(PreviewFrame* frame, int side, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {m_side, m_side}; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int m_side;
};
