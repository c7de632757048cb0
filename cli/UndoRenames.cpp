#include "cli/UndoRenames.h"

#include "base/ReportEscape.h"
#include "imaging/RenameRecord.h"
#include "imaging/RenameUndo.h"

#include <QCoreApplication>
#include <QIODevice>

namespace {

void writeLine(QIODevice& device, const QString& text)
{
    device.write((escapeForReport(text) + u'\n').toLocal8Bit());
}

} // namespace

bool undoRenames(const QString& recordPath, QIODevice& errors, QIODevice& out)
{
    const QString record = recordPath.isEmpty() ? RenameRecord::defaultPath() : recordPath;
    const UndoResult result = undoLastRun(record);
    if (!result.error.isEmpty()) {
        writeLine(errors,
                  QCoreApplication::translate("UndoRenames", "Failed to undo the renames of %1: %2")
                      .arg(record, result.error));
        return false;
    }
    // A record that does not exist yet holds no renames either.
    if (result.recorded == 0) {
        writeLine(errors,
                  QCoreApplication::translate("UndoRenames", "No renames are recorded in %1")
                      .arg(record));
        return false;
    }
    for (const UndoFailure& failure : result.failures)
        writeLine(errors,
                  QCoreApplication::translate("UndoRenames", "Failed to rename %1 back to %2: %3")
                      .arg(failure.rename.to, failure.rename.from, failure.reason));
    // Standard output is for scripts: its line stays in English.
    writeLine(out,
              QStringLiteral("%1 of %2 renames undone").arg(result.undone).arg(result.recorded));
    return result.failures.empty();
}
