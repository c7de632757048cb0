#include "publish/RemoteFolders.h"

#include "imaging/ImageBatch.h"
#include "settings/FtpSettings.h"

#include <QCoreApplication>

namespace {

// Where the upload stands: a folder below the root, or below the login folder when it is
// not absolute. Leading ".." of the latter lie above the login folder, whose name is unknown.
struct RemotePlace
{
    bool absolute = false;
    QStringList parts;

    void enter(const QString& directory)
    {
        if (directory.startsWith(u'/')) {
            absolute = true;
            parts.clear();
        }
        for (const QString& part : directory.split(u'/', Qt::SkipEmptyParts)) {
            if (part == u".")
                continue;
            if (part != u"..")
                parts << part;
            else if (!parts.isEmpty() && parts.last() != u"..")
                parts.removeLast();
            else if (!absolute)
                parts << part;
        }
    }

    // The same place with the login folder taken as the root.
    RemotePlace fromRoot() const
    {
        RemotePlace place{true, {}};
        place.enter(parts.join(u'/'));
        return place;
    }
};

} // namespace

std::vector<UploadFolder> remoteFolders(const FtpSettings& settings,
                                        const GeneratedImages& generated)
{
    const auto written = [&](size_t profile) {
        return profile < generated.profiles.size() ? generated.profiles[profile].written
                                                   : QStringList();
    };
    return {{settings.ThumbnailFtpDir, written(0) + generated.fragments,
             QCoreApplication::translate("RemoteFolders", "thumbnail directory")},
            {settings.ImageFtpDir, written(1),
             QCoreApplication::translate("RemoteFolders", "large image directory")}};
}

QString imageFolderFromThumbnails(const QString& thumbnailDir, const QString& imageDir)
{
    RemotePlace thumbnails;
    thumbnails.enter(thumbnailDir);
    RemotePlace images = thumbnails;
    images.enter(QStringLiteral("..//"));
    images.enter(imageDir);
    if (thumbnails.absolute != images.absolute) {
        thumbnails = thumbnails.fromRoot();
        images = images.fromRoot();
    }
    qsizetype shared = 0;
    while (shared < thumbnails.parts.size() && shared < images.parts.size() &&
           thumbnails.parts[shared] == images.parts[shared])
        ++shared;
    QStringList path;
    for (qsizetype up = shared; up < thumbnails.parts.size(); ++up)
        path << QStringLiteral("..");
    path += images.parts.mid(shared);
    return path.join(u'/');
}
