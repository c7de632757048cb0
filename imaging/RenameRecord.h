#pragma once

#include <QString>

#include <system_error>

// The record of renamed originals, morvane-renames.tsv, from which a run's renames can be
// taken back. Each rename is one line, appended and flushed to disk before the next rename
// starts, of four fields separated by tabs:
//
//   run start   time of the rename   old path   new path
//
// Every line of one run carries the same run start, which is how a run is told apart; times
// are ISO 8601 in local time with milliseconds and the offset from UTC
// (2024-07-14T10:20:30.123+02:00). Paths are bytes, written as the command line's reports
// write names (escapeForReport): UTF-8 as it is, a backslash as \\, a tab as \t, a line
// feed as \n, a carriage return as \r, and every other byte that is not printable or not
// valid UTF-8 as \xHH. unescapeReport turns a field back into the exact bytes.
class RenameRecord
{
public:
    static constexpr const char* fileName = "morvane-renames.tsv";

    // In the user's data folder (QStandardPaths::AppLocalDataLocation), which the window and
    // morvane-batch share as both call themselves "Morvane".
    static QString defaultPath();

    // The record of one run, starting now, kept in the file at path. Nothing is written, and
    // no folder made, before the first rename.
    explicit RenameRecord(const QString& path = defaultPath());
    ~RenameRecord();
    RenameRecord(const RenameRecord&) = delete;
    RenameRecord& operator=(const RenameRecord&) = delete;

    // Opens the file for appending, making its folder when needed; false when that fails.
    bool open();

    // Renames the file unless the new name is taken (see renameNoReplace), and records the
    // rename. A rename that cannot be recorded is taken back, since nothing would undo it,
    // and once the record has failed no further rename of the run is tried (problem() then
    // says why). Empty when the file now has the new name.
    std::error_code rename(const QString& from, const QString& to);

    // Why the record cannot be written ("PATH: No space left on device"); empty while it can.
    QString problem() const { return m_problem; }

    // A message for the run's user, the first time it is asked after the record failed;
    // empty otherwise, so a run reports its failure once.
    QString takeFailure();

    QString path() const { return m_path; }
    // The run's start as every line of it carries it.
    QString runStart() const { return m_runStart; }

private:
    bool append(const QString& from, const QString& to);

    const QString m_path;
    const QString m_runStart;
    int m_fd = -1;
    QString m_problem;
    bool m_failureTaken = false;
};
