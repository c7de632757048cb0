#include "base/ImageList.h"

#include <algorithm>

bool ImageList::contains(const QString& fullPath) const
{
    return std::any_of(m_entries.begin(), m_entries.end(), [&](const ImageEntry& entry) {
        return entry.GetFullPath() == fullPath;
    });
}

bool ImageList::addNew(const QString& fullPath)
{
    if (contains(fullPath))
        return false;
    ImageEntry entry;
    entry.SetPath(fullPath);
    m_entries.push_back(entry);
    return true;
}
