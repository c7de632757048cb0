#include "base/ErrorText.h"

#include <cerrno>

QString errorText(std::error_code error)
{
    if (error.category() == std::generic_category() || error.category() == std::system_category()) {
        switch (error.value()) {
        case ENOSPC:
            return QStringLiteral("disk full");
        case EDQUOT:
            return QStringLiteral("disk quota exceeded");
        case EACCES:
        case EPERM:
            return QStringLiteral("permission denied");
        case EROFS:
            return QStringLiteral("read-only file system");
        case ENOENT:
            return QStringLiteral("folder not found");
        case ENOTDIR:
            return QStringLiteral("not a folder");
        case EISDIR:
            return QStringLiteral("a folder has that name");
        case ENAMETOOLONG:
            return QStringLiteral("name too long");
        case EIO:
            return QStringLiteral("input/output error");
        case EXDEV:
            return QStringLiteral("on another file system");
        }
    }
    // The system's own words, in the letter case of the short texts above.
    QString text = QString::fromStdString(error.message());
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}
