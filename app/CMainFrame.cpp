#include "app/CMainFrame.h"

#include "app/LockKeyIndicators.h"
#include "app/WindowPlacement.h"
#include "base/ReadyText.h"
#include "dialogkit/Prompter.h"
#include "settings/gui/CImagePropertiesDlg.h"
#include "upload/gui/CFtpSettingsDlg.h"
#include "view/CMSFlexGrid.h"
#include "view/CMorvaneView.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QWindow>

namespace {

constexpr const char* settingsOrganization = "Quarnel";
constexpr const char* geometryKey = "MainWindowGeometry";

} // namespace

CMainFrame::CMainFrame(Prompter& prompter, ProgramSettings& settings) : m_prompter(prompter)
{
    setWindowTitle(QStringLiteral("Morvane"));
    m_view = new CMorvaneView(prompter, *this, settings, this);
    setCentralWidget(m_view);
    createMenus();
    createStatusBar();
    connect(m_view, &CMorvaneView::runningChanged, this, &CMainFrame::runningChanged);
}

void CMainFrame::placeOnScreen()
{
    if (restoreGeometry(QSettings(settingsOrganization).value(geometryKey).toByteArray()))
        return;
    // The frame's size is known only once the window exists.
    winId();
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    setGeometry(
        initialWindowGeometry(sizeHint(), minimumSizeHint(), frame, screen()->availableGeometry()));
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    if (m_view->isRunning()) {
        event->ignore();
        if (m_prompter.message(tr("Morvane is still making or sending pictures.\n"
                                  "Stop and close?"),
                               MessageStyle::YesNoQuestion) != Answer::Yes)
            return;
        // The run may have ended while the question was open.
        if (m_view->isRunning()) {
            m_closeWhenStopped = true;
            m_view->stopRun();
            return;
        }
    }
    QSettings(settingsOrganization).setValue(geometryKey, saveGeometry());
    event->accept();
}

void CMainFrame::runningChanged(bool running)
{
    for (QAction* action : std::as_const(m_idleOnly))
        action->setEnabled(!running);
    if (!running && m_closeWhenStopped)
        close();
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
        SetMessageText(tip.isEmpty() ? readyText() : tip);
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::createMenus()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    QAction* newAction = file->addAction(tr("&New"), this, &CMainFrame::fileNew);
    m_idleOnly << newAction;
    newAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    newAction->setStatusTip(tr("Create a new document"));
    file->addSeparator();
    QAction* exitAction = file->addAction(tr("E&xit"), this, &QWidget::close);
    exitAction->setStatusTip(tr("Quit the application; prompts to save documents"));

    // The list's order. Moving rows by key works while the list has the focus, as the other
    // keys of the list do.
    QMenu* view = menuBar()->addMenu(tr("&View"));
    QAction* byName = view->addAction(tr("Sort by File &Name"), m_view,
                                      [this] { m_view->sortList(ListOrder::FileName); });
    byName->setStatusTip(tr("Sort the list by file name."));
    QAction* byDate = view->addAction(tr("Sort by &Date Taken"), m_view,
                                      [this] { m_view->sortList(ListOrder::DateTaken); });
    byDate->setStatusTip(tr("Sort the list by the date the pictures were taken."));
    QAction* byAdding = view->addAction(tr("Sort by Order &Added"), m_view,
                                        [this] { m_view->sortList(ListOrder::Added); });
    byAdding->setStatusTip(tr("Put the list back in the order the pictures were added."));
    view->addSeparator();
    QAction* up = view->addAction(tr("Move &Up"), m_view, &CMorvaneView::moveSelectionUp);
    up->setStatusTip(tr("Move the selected pictures up one row."));
    up->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up));
    QAction* down = view->addAction(tr("Move Do&wn"), m_view, &CMorvaneView::moveSelectionDown);
    down->setStatusTip(tr("Move the selected pictures down one row."));
    down->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down));
    for (QAction* move : {up, down}) {
        move->setShortcutContext(Qt::WidgetShortcut);
        m_view->grid().addAction(move);
    }
    m_idleOnly << byName << byDate << byAdding << up << down;

    QMenu* options = menuBar()->addMenu(tr("&Options"));
    QAction* imageProperties =
        options->addAction(tr("&Image Properties"), this, &CMainFrame::OnImageProperties);
    imageProperties->setStatusTip(tr("Modify the image save settings."));
    QAction* ftpSettings =
        options->addAction(tr("&Ftp Settings"), this, &CMainFrame::OnFtpSettings);
    ftpSettings->setStatusTip(tr("Modify the FTP settings."));
    m_idleOnly << imageProperties << ftpSettings;

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(tr("&About Quarnel..."), this, &CMainFrame::appAbout)
        ->setStatusTip(tr("Display program information, version number and copyright"));

    for (QMenu* menu : {file, view, options, help}) {
        connect(menu, &QMenu::hovered, this, [this](QAction* action) {
            SetMessageText(action->statusTip().isEmpty() ? readyText() : action->statusTip());
        });
        connect(menu, &QMenu::aboutToHide, this, [this] { SetMessageText(readyText()); });
    }

    // Open starts the list afresh, as New does.
    m_idleOnly << addShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), &CMainFrame::fileOpen);
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_S), &CMainFrame::fileSave);
}

QAction* CMainFrame::addShortcut(const QKeySequence& keys, void (CMainFrame::*signal)())
{
    auto* action = new QAction(this);
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, signal);
    addAction(action);
    return action;
}

void CMainFrame::createStatusBar()
{
    m_messageBar = new QLabel(readyText());
    statusBar()->addWidget(m_messageBar, 1);
    new LockKeyIndicators(statusBar());
}
