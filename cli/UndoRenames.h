#pragma once

#include <QString>

class QIODevice;

// morvane-batch --undo-renames: renames back what the last run in the record renamed (the
// record at recordPath, or the user's own when it is empty). Each rename that cannot be
// undone goes to errors on a line of its own, names escaped as in every report; one summary
// line goes to out. True when every rename of the run was undone.
bool undoRenames(const QString& recordPath, QIODevice& errors, QIODevice& out);
