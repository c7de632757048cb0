#pragma once

#include <QStringList>

#include <sys/types.h>

#include <optional>
#include <set>
#include <utility>

// A file by device and inode, whatever name leads to it.
using FileIdentity = std::pair<dev_t, ino_t>;

// The file path names, following links; none when it names nothing.
std::optional<FileIdentity> fileIdentity(const QString& path);

// The files of the listed pictures, known by device and inode, so that another spelling of
// a path, a link to it, or a rename earlier in the run still leads to the same picture.
class PictureFiles
{
public:
    explicit PictureFiles(const QStringList& paths);

    // Whether path names the file of one of the pictures.
    bool contains(const QString& path) const;

private:
    std::set<FileIdentity> m_files;
};
