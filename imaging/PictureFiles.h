#pragma once

#include <QStringList>

#include <sys/types.h>

#include <set>
#include <utility>

// The files of the listed pictures, known by device and inode, so that another spelling of
// a path, a link to it, or a rename earlier in the run still leads to the same picture.
class PictureFiles
{
public:
    explicit PictureFiles(const QStringList& paths);

    // Whether path names the file of one of the pictures.
    bool contains(const QString& path) const;

private:
    std::set<std::pair<dev_t, ino_t>> m_files;
};
