#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <libexif/exif-tag.h>

// An EXIF block is kept as a JPEG's APP1 segment carries it: "Exif\0\0", then the TIFF
// structure with the tags. WebP and AVIF files hold the TIFF structure alone.

bool isExifBlock(QByteArrayView block);

// The TIFF structure of a block; a block that is already bare is returned as it is.
QByteArray tiffPart(const QByteArray& block);

// The bytes of a text tag of the main picture's directory, without the NULs that end it;
// empty when the block, or the tag, is missing or damaged.
QByteArray mainPictureText(QByteArrayView block, ExifTag tag);
