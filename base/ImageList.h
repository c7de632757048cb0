#pragma once

#include "base/ImageEntry.h"

#include <QHash>
#include <QString>

#include <span>
#include <vector>

// The pictures of the list in grid order: entry i belongs to grid data row i + 1. Beside the
// entries it keeps how many of them hold each full path, so that adding many pictures takes
// time in proportion to their number, not to its square.
class ImageList
{
public:
    // One entry of the list, read as an ImageEntry. A new path goes through the list, which
    // keeps its count of paths in step.
    class EntryRef
    {
    public:
        void SetPath(const QString& path) { m_list.setPath(m_index, path); }
        QString GetFullPath() const { return entry().GetFullPath(); }
        QString GetFolder() const { return entry().GetFolder(); }
        QString GetFileName() const { return entry().GetFileName(); }
        operator const ImageEntry&() const { return entry(); }

    private:
        friend class ImageList;
        EntryRef(ImageList& list, int index) : m_list(list), m_index(index) {}
        const ImageEntry& entry() const { return m_list.m_entries[m_index]; }

        ImageList& m_list;
        const int m_index;
    };

    // Paths are compared exactly, letter case included, as they were added.
    bool contains(const QString& fullPath) const { return m_paths.contains(fullPath); }

    // Appends the picture unless it is listed already; returns whether it was added.
    bool addNew(const QString& fullPath);

    void removeAt(int index);
    void clear();

    // The entry's new path, after its file was renamed (see ImageEntry::SetPath).
    void setPath(int index, const QString& path);

    // Puts the entries in a new order: order[i] is the present index of the entry that is
    // to stand at i. An order that is not a permutation of the indexes changes nothing and
    // gives false.
    bool reorder(std::span<const int> order);

    // A number that grows with every picture added, kept through reordering: sorting by it
    // gives back the order the pictures were added in.
    qint64 addedOrder(int index) const { return m_added[index]; }

    int size() const { return int(m_entries.size()); }
    bool isEmpty() const { return m_entries.empty(); }
    EntryRef operator[](int index) { return EntryRef(*this, index); }
    const ImageEntry& operator[](int index) const { return m_entries[index]; }
    const ImageEntry& last() const { return m_entries.back(); }

private:
    void count(const QString& fullPath);
    void uncount(const QString& fullPath);

    std::vector<ImageEntry> m_entries;
    std::vector<qint64> m_added; // beside m_entries, index for index
    qint64 m_nextAdded = 0;
    // Every full path listed, with the number of entries holding it: a rename may give an
    // entry the path of another one that was listed while its file did not exist.
    QHash<QString, int> m_paths;
};
