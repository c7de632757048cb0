#pragma once

#include "upload/UploadRequest.h"

#include <QString>

#include <vector>

struct FtpSettings;
struct GeneratedImages;

// Where a run's files go, in the order the upload enters the folders: every file of the
// thumbnail profile, then the HTML fragments that show them, into the thumbnail folder; every
// file of the large-image profile into the image folder.
std::vector<UploadFolder> remoteFolders(const FtpSettings& settings,
                                        const GeneratedImages& generated);

// The path from the remote thumbnail folder to the remote image folder, as a page lying among
// the thumbnails links the large images: "../images", empty for one folder. It follows the
// upload's walk with every folder entered: the thumbnail folder from the login folder, then
// "..//" one level up, then the image folder from there; an absolute folder starts at the
// root, which ".." never leaves. Where one folder is absolute and the other is not, the login
// folder is taken as the root, as it is on hosts that show each user only their site.
QString imageFolderFromThumbnails(const QString& thumbnailDir, const QString& imageDir);
