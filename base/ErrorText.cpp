#include "base/ErrorText.h"

#include <QCoreApplication>

#include <cerrno>

QString errorText(std::error_code error)
{
    if (error.category() == std::generic_category() || error.category() == std::system_category()) {
        switch (error.value()) {
        case ENOSPC:
            return QCoreApplication::translate("ErrorText", "disk full");
        case EDQUOT:
            return QCoreApplication::translate("ErrorText", "disk quota exceeded");
        case EACCES:
        case EPERM:
            return QCoreApplication::translate("ErrorText", "permission denied");
        case EROFS:
            return QCoreApplication::translate("ErrorText", "read-only file system");
        case ENOENT:
            return QCoreApplication::translate("ErrorText", "folder not found");
        case ENOTDIR:
            return QCoreApplication::translate("ErrorText", "not a folder");
        case EISDIR:
            return QCoreApplication::translate("ErrorText", "a folder has that name");
        case ENAMETOOLONG:
            return QCoreApplication::translate("ErrorText", "name too long");
        case EIO:
            return QCoreApplication::translate("ErrorText", "input/output error");
        case EXDEV:
            return QCoreApplication::translate("ErrorText", "on another file system");
        }
    }
    // The system's own words, in the letter case of the short texts above.
    QString text = QString::fromStdString(error.message());
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}
