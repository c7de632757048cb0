#include "app/CMainFrame.h"

#include "app/LockKeyIndicators.h"
#include "settings/gui/CImagePropertiesDlg.h"
#include "upload/gui/CFtpSettingsDlg.h"
#include "view/CMorvaneView.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>

namespace {

const QString idleMessage = QStringLiteral("Ready");

} // namespace

CMainFrame::CMainFrame(Prompter& prompter)
    : QMainWindow(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                               Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Morvane"));
    m_view = new CMorvaneView(prompter, *this, this);
    setCentralWidget(m_view);
    createMenus();
    createStatusBar();
    // The frame fits the form exactly and cannot be resized or maximised.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

CMorvaneView* CMainFrame::GetActiveView() const
{
    return m_view;
}

void CMainFrame::SetMessageText(const QString& text)
{
    m_messageBar->setText(text);
    m_messageBar->repaint();
}

QString CMainFrame::GetMessageText() const
{
    return m_messageBar->text();
}

void CMainFrame::OnImageProperties()
{
    if (CMorvaneView* view = GetActiveView())
        view->imageProperties().DoModal();
}

void CMainFrame::OnFtpSettings()
{
    if (CMorvaneView* view = GetActiveView())
        view->ftpSettings().DoModal();
}

bool CMainFrame::event(QEvent* event)
{
    // Menu prompts while an item is highlighted; the idle message when none is.
    if (event->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
        SetMessageText(tip.isEmpty() ? idleMessage : tip);
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* newAction = file->addAction(QStringLiteral("&New"), this, &CMainFrame::fileNew);
    newAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    newAction->setStatusTip(QStringLiteral("Create a new document"));
    file->addSeparator();
    QAction* exitAction = file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);
    exitAction->setStatusTip(QStringLiteral("Quit the application; prompts to save documents"));

    QMenu* options = menuBar()->addMenu(QStringLiteral("&Options"));
    options->addAction(QStringLiteral("&Image Properties"), this, &CMainFrame::OnImageProperties)
        ->setStatusTip(QStringLiteral("Modify the image save settings."));
    options->addAction(QStringLiteral("&Ftp Settings"), this, &CMainFrame::OnFtpSettings)
        ->setStatusTip(QStringLiteral("Modify the FTP settings."));

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->addAction(QStringLiteral("&About Quarnel..."), this, &CMainFrame::appAbout)
        ->setStatusTip(QStringLiteral("Display program information, version number and copyright"));

    for (QMenu* menu : {file, options, help}) {
        connect(menu, &QMenu::hovered, this, [this](QAction* action) {
            SetMessageText(action->statusTip().isEmpty() ? idleMessage : action->statusTip());
        });
        connect(menu, &QMenu::aboutToHide, this, [this] { SetMessageText(idleMessage); });
    }

    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), &CMainFrame::fileOpen);
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), &CMainFrame::fileSave);
}

void CMainFrame::addShortcut(const QKeySequence& keys, void (CMainFrame::*signal)())
{
    auto* action = new QAction(this);
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, signal);
    addAction(action);
}

void CMainFrame::createStatusBar()
{
    m_messageBar = new QLabel(idleMessage);
    statusBar()->addWidget(m_messageBar, 1);
    statusBar()->setSizeGripEnabled(false);
    new LockKeyIndicators(statusBar());
}
