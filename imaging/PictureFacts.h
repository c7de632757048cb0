#pragma once

#include "imaging/PictureFormat.h"

#include <QDateTime>
#include <QSize>
#include <QString>

#include <optional>

// What the list tells of a picture beside its name, read without decoding its pixels.
struct PictureFacts
{
    // The header was read; the pixels may still turn out to be broken.
    bool readable = false;
    PictureFormat format = PictureFormat::Other;
    QSize size; // upright; empty unless readable
    // When it was taken, by the camera's clock (see exifDateTaken); none without EXIF date.
    std::optional<QDateTime> taken;
    QDateTime modified; // the file's, in UTC; invalid when it is no regular file
};

// Safe on several threads at once, and on any file: only the header and the EXIF block are
// read, each within a fixed bound (see readPictureHeader).
PictureFacts readPictureFacts(const QString& path);
