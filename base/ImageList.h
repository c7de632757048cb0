#pragma once

#include "base/ImageEntry.h"

#include <QString>

#include <vector>

// The pictures of the list in grid order: entry i belongs to grid data row i + 1.
class ImageList
{
public:
    // Paths are compared exactly, letter case included, as they were added.
    bool contains(const QString& fullPath) const;

    // Appends the picture unless it is listed already; returns whether it was added.
    bool addNew(const QString& fullPath);

    void removeAt(int index) { m_entries.erase(m_entries.begin() + index); }
    void clear() { m_entries.clear(); }

    int size() const { return int(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }
    ImageEntry& operator[](int index) { return m_entries[index]; }
    const ImageEntry& operator[](int index) const { return m_entries[index]; }
    const ImageEntry& last() const { return m_entries.back(); }

private:
    std::vector<ImageEntry> m_entries;
};
