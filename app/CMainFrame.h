#pragma once

#include "view/StatusText.h"

#include <QMainWindow>

class CMorvaneView;
class Prompter;
class QAction;
class QLabel;
struct ProgramSettings;

// The main window: a frame around the form, with the menu and the status bar whose first
// pane carries every status text. It opens at the form's size where that fits the screen,
// grows and shrinks with its border, and remembers its place between sessions.
class CMainFrame : public QMainWindow, public StatusText
{
    Q_OBJECT

public:
    // The settings must outlive the frame.
    CMainFrame(Prompter& prompter, ProgramSettings& settings);

    CMorvaneView* GetActiveView() const;

    // Writes pane 0 and paints it at once, since long runs do not return to the event loop.
    void SetMessageText(const QString& text) override;
    QString GetMessageText() const;
    // Pane 0 of the status bar.
    QLabel* GetMessageBar() const { return m_messageBar; }

    // Takes the place and size of the last session, or the form's own size on the screen.
    void placeOnScreen();

signals:
    void fileNew();
    void fileOpen();
    void fileSave();
    void appAbout();

public slots:
    void OnImageProperties();
    void OnFtpSettings();

protected:
    bool event(QEvent* event) override;
    // During a run, asks whether to stop it; Yes stops it and closes once it has ended.
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    void createStatusBar();
    QAction* addShortcut(const QKeySequence& keys, void (CMainFrame::*signal)());
    void runningChanged(bool running);

    Prompter& m_prompter;
    CMorvaneView* m_view;
    QLabel* m_messageBar;
    // What starts something new or changes the settings: idle while a run goes on.
    QList<QAction*> m_idleOnly;
    bool m_closeWhenStopped = false;
};
