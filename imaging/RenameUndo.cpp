#include "imaging/RenameUndo.h"

#include "base/ErrorText.h"
#include "base/LocalPath.h"
#include "base/ReportEscape.h"
#include "imaging/RenameRecord.h"

#include <QCoreApplication>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <optional>

namespace {

std::optional<RecordedRename> parse(QByteArray line)
{
    if (!line.endsWith('\n'))
        return std::nullopt;
    line.chop(1);
    const QList<QByteArray> fields = line.split('\t');
    if (fields.size() != 4 || fields[0].isEmpty())
        return std::nullopt;
    const std::optional<QByteArray> from = unescapeReport(fields[2]);
    const std::optional<QByteArray> to = unescapeReport(fields[3]);
    if (!from || !to || from->isEmpty() || to->isEmpty())
        return std::nullopt;
    return RecordedRename{QString::fromUtf8(fields[0]), QString::fromUtf8(fields[1]),
                          pathFromLocal(*from), pathFromLocal(*to)};
}

// Reads every line of the file in order; false when it cannot be read to its end.
bool forEachLine(QFile& file, const std::function<void(const RecordedRename&)>& take)
{
    if (!file.seek(0))
        return false;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine();
        if (line.isEmpty() && file.error() != QFileDevice::NoError)
            return false;
        if (const std::optional<RecordedRename> rename = parse(line))
            take(*rename);
    }
    return true;
}

bool exists(const QString& path)
{
    struct stat status;
    return lstat(pathToLocal(path).constData(), &status) == 0;
}

} // namespace

RecordedRun readLastRun(const QString& recordPath)
{
    RecordedRun run;
    const int fd = ::open(pathToLocal(recordPath).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno != ENOENT)
            run.error = QString::fromLocal8Bit(std::strerror(errno));
        return run;
    }
    run.found = true;
    QFile file;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        run.error = file.errorString();
        return run;
    }
    // Two passes keep only the last run in memory, however long the record has grown.
    QString last;
    const bool read =
        forEachLine(file, [&](const RecordedRename& rename) { last = rename.runStart; }) &&
        forEachLine(file, [&](const RecordedRename& rename) {
            if (rename.runStart == last)
                run.renames.push_back(rename);
        });
    if (!read) {
        run.error = file.errorString();
        run.renames.clear();
    }
    return run;
}

UndoResult undoLastRun(const QString& recordPath)
{
    UndoResult result;
    const RecordedRun run = readLastRun(recordPath);
    result.found = run.found;
    result.error = run.error;
    result.recorded = int(run.renames.size());
    if (!result.error.isEmpty() || run.renames.empty())
        return result;
    RenameRecord record(recordPath);
    if (!record.open()) {
        result.error = record.problem();
        return result;
    }
    for (auto rename = run.renames.rbegin(); rename != run.renames.rend(); ++rename) {
        const std::error_code error = record.rename(rename->to, rename->from);
        if (!error) {
            ++result.undone;
            continue;
        }
        QString reason;
        if (!record.problem().isEmpty())
            reason = QCoreApplication::translate("RenameUndo", "the undo cannot be recorded (%1)")
                         .arg(record.problem());
        else if (!exists(rename->to))
            reason = QCoreApplication::translate("RenameUndo", "it no longer exists");
        else if (error == std::errc::file_exists)
            reason = QCoreApplication::translate("RenameUndo", "that name is taken");
        else
            reason = errorText(error);
        result.failures.push_back({*rename, reason});
    }
    return result;
}
