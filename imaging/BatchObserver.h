#pragma once

#include "base/WorkObserver.h"
#include "imaging/DecodeFailure.h"
#include "imaging/OutputFailure.h"

#include <system_error>

// What a generation run reports besides status, messages and progress. Rows are counted
// from 0 in the order they were handed to the run.
class BatchObserver : public WorkObserver
{
public:
    // The picture of the row now lives at newPath.
    virtual void renamed(int row, const QString& newPath) = 0;
    // The picture of the row could not be renamed to newPath for another reason than the name
    // being taken (which keeps the old name without a word, so a second run never replaces a
    // photograph); it keeps its old name.
    virtual void notRenamed(int row, const QString& newPath, std::error_code why) = 0;
    // The picture of the row could not be read or decoded; it got no output and its
    // number is used up.
    virtual void unreadable(int row, const QString& path, DecodeFailure why) = 0;
    // An output of the row was not made or could not be written. It is not among the paths
    // written, and a file of that name from an earlier run stays as it was.
    virtual void notWritten(int row, const QString& path, const OutputFailure& why) = 0;
};
