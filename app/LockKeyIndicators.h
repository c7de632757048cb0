#pragma once

#include <QObject>

class QLabel;
class QStatusBar;

// The CAP, NUM and SCRL panes of the status bar. They follow the keyboard's lock lights
// where the windowing system reports them (X11) and stay blank elsewhere.
class LockKeyIndicators : public QObject
{
    Q_OBJECT

public:
    explicit LockKeyIndicators(QStatusBar* statusBar);

    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Pane
    {
        const char* text;
        const char* indicatorName; // the keyboard's name for the light
        QLabel* label;
    };
    Pane m_panes[3];
};
