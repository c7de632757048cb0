#include "cli/ListedPictures.h"

#include "base/ImageList.h"

#include <QFileInfo>

ListedPictures ListedPictures::fromFiles(const std::vector<BatchFile>& files)
{
    ListedPictures listed;
    // The window's own rule decides what is listed twice: the same path, letter for letter.
    ImageList images;
    for (const BatchFile& file : files) {
        const QFileInfo info(file.path);
        const QString path = info.absoluteFilePath();
        if (images.contains(path) || listed.missing.contains(path))
            continue;
        if (!info.exists()) {
            listed.missing << path;
            continue;
        }
        images.addNew(path);
        listed.rows.push_back({images.last(), file.group});
    }
    return listed;
}
