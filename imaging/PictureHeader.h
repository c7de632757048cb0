#pragma once

#include "imaging/Orientation.h"
#include "imaging/PictureFormat.h"

#include <QByteArray>
#include <QDateTime>
#include <QSize>
#include <QString>

// What a picture file tells before any of its pixels is decoded: enough to list it, sort it
// and find its EXIF thumbnail. Reading it costs the file's header, never its picture data.
struct PictureHeader
{
    PictureFormat format = PictureFormat::Other;
    // The header was read and claims a picture of at most maxPicturePixels; the pixels may
    // still turn out to be broken.
    bool readable = false;
    // The upright picture's size; empty unless readable.
    QSize size;
    // How the stored pixels of a JPEG are turned upright. A HEIF file's container turns its
    // picture while it is decoded, so there it is always AsStored.
    Orientation orientation = Orientation::AsStored;
    // The EXIF block as an APP1 payload (starting with "Exif"); empty when there is none.
    QByteArray exif;
    // When the file was last changed; invalid when it is no regular file.
    QDateTime modified;
};

// Opens only a regular file and never waits in the opening (see openRegularFile). Safe to
// call on several threads at once. A JPEG's header is read up to maxJpegHeaderBytes: a file
// whose picture data starts later is taken as unreadable.
PictureHeader readPictureHeader(const QString& path);

// Far more than cameras and editors put before the picture data (profiles, previews of
// their own, XMP), little enough to stop a hostile file early.
constexpr qint64 maxJpegHeaderBytes = 16 * 1024 * 1024;
