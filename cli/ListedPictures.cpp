#include "cli/ListedPictures.h"

#include "base/ImageList.h"
#include "base/LocalFile.h"

ListedPictures ListedPictures::fromFiles(const std::vector<BatchFile>& files)
{
    ListedPictures listed;
    // The window's own rule decides what is listed twice: the same path, letter for letter.
    ImageList images;
    for (const BatchFile& file : files) {
        const QString path = absolutePath(file.path);
        if (images.contains(path) || listed.missing.contains(path))
            continue;
        if (fileKind(path) == FileKind::Missing) {
            listed.missing << path;
            continue;
        }
        images.addNew(path);
        listed.rows.push_back({images.last(), file.group});
    }
    return listed;
}
