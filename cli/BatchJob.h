#pragma once

#include <QString>

#include <array>
#include <vector>

// One file named on the command line with the group it was given: "1" to "5", or empty
// for none, as the window's group cell holds it.
struct BatchFile
{
    QString path;
    QString group;
};

// What one run of morvane-batch is asked to do.
struct BatchJob
{
    enum class Action
    {
        Run,
        ShowHelp,
        ShowVersion,
        UndoRenames // rename back what the last run in the record of renames renamed
    };

    Action action = Action::Run;
    bool upload = false;
    bool dryRun = false;               // with upload: compare and tell, send nothing
    bool removeStale = false;          // with upload: as RemoveStale = 1 in the settings
    bool removeEveryStaleFile = false; // and however many there are
    QString configDir;                // empty: the working directory
    std::array<QString, 5> groupText; // the name prefix of group g at g - 1
    std::vector<BatchFile> files;     // in the order given, repeats included
    QString renameRecord;             // for UndoRenames; empty: the user's own record
};
