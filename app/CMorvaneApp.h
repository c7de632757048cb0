#pragma once

#include "app/CMorvaneDoc.h"
#include "app/QtPrompter.h"
#include "settings/ProgramSettings.h"

#include <QObject>
#include <QStringList>

#include <memory>

class CMainFrame;
class NetworkLibrary;

// Starts the program: the network library, the document and the main window.
class CMorvaneApp : public QObject
{
    Q_OBJECT

public:
    explicit CMorvaneApp(Prompter& prompter);
    ~CMorvaneApp() override;

    // False when the program cannot start; the reason has been shown. The pictures are
    // listed as if added with Add, the way a file manager hands them over.
    bool InitInstance(const QStringList& pictures = {});
    CMainFrame* mainFrame() const { return m_frame.get(); }

public slots:
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnAppAbout();

private:
    Prompter& m_prompter;
    ProgramSettings m_settings;
    std::unique_ptr<NetworkLibrary> m_network;
    CMorvaneDoc m_document;
    std::unique_ptr<CMainFrame> m_frame;
};
