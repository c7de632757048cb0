#include "imaging/PictureFiles.h"

#include "base/LocalPath.h"

#include <sys/stat.h>

#include <optional>

namespace {

std::optional<std::pair<dev_t, ino_t>> identity(const QString& path)
{
    struct stat status;
    if (stat(pathToLocal(path).constData(), &status) != 0)
        return std::nullopt;
    return std::pair(status.st_dev, status.st_ino);
}

} // namespace

PictureFiles::PictureFiles(const QStringList& paths)
{
    for (const QString& path : paths) {
        if (const auto file = identity(path))
            m_files.insert(*file);
    }
}

bool PictureFiles::contains(const QString& path) const
{
    const auto file = identity(path);
    return file && m_files.contains(*file);
}
