#include "app/CMorvaneApp.h"

#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "base/ReadyText.h"
#include "upload/NetworkLibrary.h"
#include "view/CMorvaneView.h"

#include <QApplication>
#include <QDir>

namespace {

// The menu's icon at every size drawn, so each place picks the sharpest.
QIcon applicationIcon()
{
    const QDir icons(QStringLiteral(":/icons"));
    QIcon icon;
    for (const QString& file : icons.entryList())
        icon.addFile(icons.filePath(file));
    return icon;
}

} // namespace

CMorvaneApp::CMorvaneApp(Prompter& prompter) : m_prompter(prompter) {}

CMorvaneApp::~CMorvaneApp() = default;

bool CMorvaneApp::InitInstance(const QStringList& pictures)
{
    m_network = std::make_unique<NetworkLibrary>();
    if (!m_network->isReady()) {
        m_prompter.message(tr("Windows sockets initialization failed."));
        return false;
    }
    QApplication::setWindowIcon(applicationIcon());
    m_frame = std::make_unique<CMainFrame>(m_prompter, m_settings);
    connect(m_frame.get(), &CMainFrame::fileNew, this, &CMorvaneApp::OnFileNew);
    connect(m_frame.get(), &CMainFrame::fileOpen, this, &CMorvaneApp::OnFileOpen);
    connect(m_frame.get(), &CMainFrame::fileSave, this, &CMorvaneApp::OnFileSave);
    connect(m_frame.get(), &CMainFrame::appAbout, this, &CMorvaneApp::OnAppAbout);
    OnFileNew();
    m_frame->GetActiveView()->addPictures(pictures);
    m_frame->SetMessageText(readyText());
    m_frame->placeOnScreen();
    m_frame->show();
    return true;
}

void CMorvaneApp::OnFileNew()
{
    // A run works through the list and the settings it started with.
    if (m_frame->GetActiveView()->isRunning())
        return;
    if (m_document.OnNewDocument())
        m_frame->GetActiveView()->OnInitialUpdate();
}

void CMorvaneApp::OnFileOpen()
{
    if (m_frame->GetActiveView()->isRunning())
        return;
    const QString path = m_prompter.openDocumentFile();
    if (!path.isEmpty() && m_document.OnOpenDocument(path))
        m_frame->GetActiveView()->OnInitialUpdate();
}

void CMorvaneApp::OnFileSave()
{
    m_document.OnSaveDocument();
}

void CMorvaneApp::OnAppAbout()
{
    CAboutDlg about(m_frame.get());
    about.exec();
}
