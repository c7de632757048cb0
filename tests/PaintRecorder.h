#pragma once

#include <QEvent>
#include <QLabel>
#include <QStringList>

// Notes the text of a label each time it is painted, so a test sees what the user saw.
class PaintRecorder : public QObject
{
public:
    explicit PaintRecorder(QLabel* label) : m_label(label) { label->installEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == m_label && event->type() == QEvent::Paint &&
            (painted.isEmpty() || painted.last() != m_label->text()))
            painted << m_label->text();
        return false;
    }

    QStringList painted;

private:
    QLabel* m_label;
};
