#include "base/ImageList.h"

bool ImageList::addNew(const QString& fullPath)
{
    if (contains(fullPath))
        return false;
    ImageEntry entry;
    entry.SetPath(fullPath);
    m_entries.push_back(entry);
    m_added.push_back(m_nextAdded++);
    count(entry.GetFullPath());
    return true;
}

void ImageList::removeAt(int index)
{
    uncount(m_entries[index].GetFullPath());
    m_entries.erase(m_entries.begin() + index);
    m_added.erase(m_added.begin() + index);
}

void ImageList::clear()
{
    m_entries.clear();
    m_added.clear();
    m_paths.clear();
}

void ImageList::setPath(int index, const QString& path)
{
    ImageEntry& entry = m_entries[index];
    uncount(entry.GetFullPath());
    entry.SetPath(path);
    count(entry.GetFullPath());
}

bool ImageList::reorder(std::span<const int> order)
{
    if (order.size() != m_entries.size())
        return false;
    std::vector<bool> taken(order.size());
    for (int index : order) {
        if (index < 0 || index >= size() || taken[index])
            return false;
        taken[index] = true;
    }
    std::vector<ImageEntry> entries;
    std::vector<qint64> added;
    entries.reserve(order.size());
    added.reserve(order.size());
    for (int index : order) {
        entries.push_back(std::move(m_entries[index]));
        added.push_back(m_added[index]);
    }
    m_entries = std::move(entries);
    m_added = std::move(added);
    return true;
}

void ImageList::count(const QString& fullPath)
{
    ++m_paths[fullPath];
}

void ImageList::uncount(const QString& fullPath)
{
    const auto found = m_paths.find(fullPath);
    if (found != m_paths.end() && --found.value() == 0)
        m_paths.erase(found);
}
