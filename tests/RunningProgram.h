#pragma once

#include "ScriptedPrompter.h"

#include "app/CMainFrame.h"
#include "app/CMorvaneApp.h"
#include "view/CMSFlexGrid.h"
#include "view/CMorvaneView.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
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
    // Presses the button and waits until the run it starts has ended.
    void pressGenerate()
    {
        press("3");
        waitForRun();
    }
    void pressGenerateUpload()
    {
        press("4");
        waitForRun();
    }
    // A button of the form by its id, as a user clicks it.
    void press(const char* id)
    {
        QTest::mouseClick(view().findChild<QPushButton*>(id), Qt::LeftButton);
    }
    void waitForRun() { QTRY_VERIFY_WITH_TIMEOUT(!view().isRunning(), 60000); }

    // The window's menu of this title; null when it has none.
    QMenu* menu(const QString& title)
    {
        for (QAction* action : frame().menuBar()->actions()) {
            if (action->text() == title)
                return action->menu();
        }
        return nullptr;
    }
    // An item of one of the window's menus; without it the menu is broken and the test stops.
    QAction* menuItem(const QString& menuTitle, const QString& item)
    {
        if (QMenu* items = menu(menuTitle)) {
            for (QAction* action : items->actions()) {
                if (action->text() == item)
                    return action;
            }
        }
        qFatal("no %s item %s", qPrintable(menuTitle), qPrintable(item));
    }

private:
    std::unique_ptr<CMorvaneApp> m_app;
};
