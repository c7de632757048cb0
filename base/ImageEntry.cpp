#include "base/ImageEntry.h"

#include "base/LocalPath.h"

void ImageEntry::SetPath(const QString& path)
{
    const qsizetype separator = lastPathSeparator(path);
    if (separator < 0)
        return;
    m_folder = path.left(separator + 1);
    m_fileName = path.mid(separator + 1);
}
