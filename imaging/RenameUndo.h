#pragma once

#include <QString>

#include <vector>

// One line of the record of renames (see RenameRecord).
struct RecordedRename
{
    QString runStart;
    QString time;
    QString from;
    QString to;
};

// The renames of the last run in a record, in the order they were made.
struct RecordedRun
{
    bool found = false; // false when the record does not exist
    QString error;      // why it could not be read; empty when it could
    std::vector<RecordedRename> renames;
};

// The last run is the run of the record's last line, wherever its other lines are: two
// programs renaming at the same time interleave their lines. Lines that are not four fields
// with paths that read back are passed over, as is a last line without its line feed (a
// write cut short).
RecordedRun readLastRun(const QString& recordPath);

struct UndoFailure
{
    RecordedRename rename;
    QString reason; // "it no longer exists", "that name is taken", ...
};

struct UndoResult
{
    QString error; // the record could not be read, or the undo could not be recorded
    bool found = false;
    int recorded = 0; // renames of the last run
    int undone = 0;
    std::vector<UndoFailure> failures;
};

// Renames back everything the last run of the record renamed, newest first, so a name a run
// freed and took again comes back in the right order. A file whose old name is taken, or
// that is gone, stays as it is and is reported. The undo is a run of the record itself: its
// lines go into the same file, and another undo takes it back in turn.
UndoResult undoLastRun(const QString& recordPath);
