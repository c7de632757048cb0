#include "app/LockKeyIndicators.h"

#include "app/KeyboardLights.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>

LockKeyIndicators::LockKeyIndicators(QStatusBar* statusBar)
    : QObject(statusBar), m_panes{
                              {QT_TRANSLATE_NOOP("LockKeyIndicators", "CAP"), "Caps Lock", nullptr},
                              {QT_TRANSLATE_NOOP("LockKeyIndicators", "NUM"), "Num Lock", nullptr},
                              {QT_TRANSLATE_NOOP("LockKeyIndicators", "SCRL"), "Scroll Lock",
                               nullptr}}
{
    for (Pane& pane : m_panes) {
        pane.label = new QLabel;
        pane.label->setAlignment(Qt::AlignCenter);
        pane.label->setMinimumWidth(pane.label->fontMetrics().horizontalAdvance(tr(pane.text)) + 8);
        pane.label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        statusBar->addPermanentWidget(pane.label);
    }
    qGuiApp->installEventFilter(this);
    refresh();
}

void LockKeyIndicators::refresh()
{
    for (Pane& pane : m_panes) {
        const bool on = keyboardLightState(pane.indicatorName).value_or(false);
        pane.label->setText(on ? tr(pane.text) : QString());
    }
}

bool LockKeyIndicators::eventFilter(QObject* watched, QEvent* event)
{
    // A lock key may change while another program has the focus, hence the activation.
    if (event->type() == QEvent::KeyRelease || event->type() == QEvent::ApplicationActivate)
        refresh();
    return QObject::eventFilter(watched, event);
}
