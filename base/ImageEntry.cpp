#include "base/ImageEntry.h"

#include <algorithm>

void ImageEntry::SetPath(const QString& path)
{
    const qsizetype separator = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    if (separator < 0)
        return;
    m_folder = path.left(separator + 1);
    m_fileName = path.mid(separator + 1);
}
