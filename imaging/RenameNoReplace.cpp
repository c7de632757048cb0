#include "imaging/RenameNoReplace.h"

#include "base/ErrorText.h"
#include "base/LocalPath.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

std::error_code renameNoReplace(const QString& from, const QString& to)
{
    const QByteArray source = pathToLocal(from);
    const QByteArray target = pathToLocal(to);
    // A plain rename replaces silently, and the name taken may belong to a photograph.
    if (renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0)
        return {};
    if (errno != EINVAL && errno != ENOSYS)
        return lastSystemError();
    // File systems that lack the flag: a hard link refuses a taken name just the same.
    if (link(source.constData(), target.constData()) != 0)
        return lastSystemError();
    if (unlink(source.constData()) == 0)
        return {};
    const std::error_code error = lastSystemError();
    unlink(target.constData());
    return error;
}
