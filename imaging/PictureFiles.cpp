#include "imaging/PictureFiles.h"

#include "base/LocalPath.h"

#include <sys/stat.h>

std::optional<FileIdentity> fileIdentity(const QString& path)
{
    struct stat status;
    if (stat(pathToLocal(path).constData(), &status) != 0)
        return std::nullopt;
    return FileIdentity(status.st_dev, status.st_ino);
}

PictureFiles::PictureFiles(const QStringList& paths)
{
    for (const QString& path : paths) {
        if (const auto file = fileIdentity(path))
            m_files.insert(*file);
    }
}

bool PictureFiles::contains(const QString& path) const
{
    const auto file = fileIdentity(path);
    return file && m_files.contains(*file);
}
