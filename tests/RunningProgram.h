#pragma once

#include "ScriptedPrompter.h"

#include "app/CMainFrame.h"
#include "app/CMorvaneApp.h"
#include "view/CMSFlexGrid.h"
#include "view/CMorvaneView.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

// The program as a user starts it, its modal steps answered from a script. It reads the
// settings files of the working directory as it starts, so a test writes them first.
class RunningProgram
{
public:
    ScriptedPrompter prompter;

    // False when the program did not come up with its window shown. The pictures are those
    // named on the command line.
    bool start(const QStringList& pictures = {})
    {
        m_app = std::make_unique<CMorvaneApp>(prompter);
        return m_app->InitInstance(pictures) && QTest::qWaitForWindowExposed(&frame());
    }
    // Ends the program, and with it the script.
    void quit()
    {
        m_app.reset();
        prompter = ScriptedPrompter();
    }

    CMorvaneApp& app() { return *m_app; }
    CMainFrame& frame() { return *m_app->mainFrame(); }
    CMorvaneView& view() { return *frame().GetActiveView(); }

    // Add, with the file dialog answering these paths.
    void add(const QStringList& paths)
    {
        prompter.nextFiles = paths;
        view().OnAdd();
    }
    void setGroup(int row, const QString& group) { view().grid().SetCellText(row, 2, group); }
    // Group 1 to 5's name box, typed into as a user types.
    QLineEdit* groupName(int group)
    {
        return view().findChild<QLineEdit*>(QString::number(1001 + group));
    }
    void pressGenerate() { press("3"); }
    void pressGenerateUpload() { press("4"); }

private:
    void press(const char* id)
    {
        QTest::mouseClick(view().findChild<QPushButton*>(id), Qt::LeftButton);
    }

    std::unique_ptr<CMorvaneApp> m_app;
};
