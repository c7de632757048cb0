#pragma once

#include "view/StatusText.h"

#include <QMainWindow>

class CMorvaneView;
class Prompter;
class QLabel;

// The main window: a fixed-size frame around the form, with the menu and the status bar
// whose first pane carries every status text.
class CMainFrame : public QMainWindow, public StatusText
{
    Q_OBJECT

public:
    explicit CMainFrame(Prompter& prompter);

    CMorvaneView* GetActiveView() const;

    // Writes pane 0 and paints it at once, since long runs do not return to the event loop.
    void SetMessageText(const QString& text) override;
    QString GetMessageText() const;
    // Pane 0 of the status bar.
    QLabel* GetMessageBar() const { return m_messageBar; }

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

private:
    void createMenus();
    void createStatusBar();
    void addShortcut(const QKeySequence& keys, void (CMainFrame::*signal)());

    CMorvaneView* m_view;
    QLabel* m_messageBar;
};
