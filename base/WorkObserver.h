#pragma once

#include "base/TransferProgress.h"

#include <QString>

// What a long run (generation or upload) tells the person waiting for it. The window shows
// it in the status bar, the progress bar and message boxes; the command-line tool on the
// terminal.
class WorkObserver
{
public:
    virtual ~WorkObserver() = default;

    // A short status text such as "Generating Images...".
    virtual void status(const QString& text) = 0;
    // A message the user must acknowledge (OK only).
    virtual void message(const QString& text) = 0;
    // Starts the progress bar over 0..maximum at position 0, stepping by one.
    virtual void progressRange(int maximum) = 0;
    virtual void progressStep() = 0;
    // Puts the progress bar back to 0.
    virtual void progressReset() = 0;
    // Files and bytes sent so far, several times a second while files go out; generation
    // alone sends none.
    virtual void transferProgress(const TransferProgress&) {}
};
