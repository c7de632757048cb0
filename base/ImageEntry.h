#pragma once

#include <QString>

// One picture of the list: its folder, with the trailing separator, and its file name.
class ImageEntry
{
public:
    // Splits after the path's last separator (see lastPathSeparator). A path without one
    // leaves the entry as it was.
    void SetPath(const QString& path);

    QString GetFullPath() const { return m_folder + m_fileName; }
    QString GetFolder() const { return m_folder; }
    QString GetFileName() const { return m_fileName; }

private:
    QString m_folder;
    QString m_fileName;
};
