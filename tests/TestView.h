#pragma once

#include "RecordedStatus.h"
#include "ScriptedPrompter.h"

#include "settings/ProgramSettings.h"
#include "view/CMSFlexGrid.h"
#include "view/CMorvaneView.h"

#include <QTest>

#include <memory>

// The list's form on its own, without the main window: its modal steps answered from a
// script, its status texts recorded. Used like a pointer to the view once opened.
class TestView
{
public:
    ScriptedPrompter prompter;
    RecordedStatus status;
    ProgramSettings settings;

    // A new view, as the program sets it up, with a new script.
    void open()
    {
        m_view.reset();
        prompter = ScriptedPrompter();
        m_view = std::make_unique<CMorvaneView>(prompter, status, settings);
        m_view->OnInitialUpdate();
    }
    // False when it did not come up on the screen.
    bool show()
    {
        m_view->show();
        return QTest::qWaitForWindowExposed(m_view.get());
    }
    // Add, with the file dialog answering these paths.
    void add(const QStringList& paths)
    {
        prompter.nextFiles = paths;
        m_view->OnAdd();
    }
    // Closes the view; it waits for its workers first.
    void reset() { m_view.reset(); }

    CMorvaneView* get() const { return m_view.get(); }
    CMorvaneView* operator->() const { return m_view.get(); }

private:
    std::unique_ptr<CMorvaneView> m_view;
};
