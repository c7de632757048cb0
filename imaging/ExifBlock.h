#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <libexif/exif-data.h>
#include <libexif/exif-tag.h>

#include <memory>
#include <span>

// An EXIF block is kept as a JPEG's APP1 segment carries it: "Exif\0\0", then the TIFF
// structure with the tags. WebP and AVIF files hold the TIFF structure alone.

// What every EXIF block begins with.
constexpr QByteArrayView exifHeader("Exif\0\0", 6);

bool isExifBlock(QByteArrayView block);
inline bool isExifBlock(std::span<const unsigned char> block)
{
    return isExifBlock(QByteArrayView(block.data(), qsizetype(block.size())));
}

struct ExifDataDeleter
{
    void operator()(ExifData* data) const { exif_data_unref(data); }
};
using ExifDataPtr = std::unique_ptr<ExifData, ExifDataDeleter>;

// The block's tags as they were written, without defaults filled in; null for anything that
// is not an EXIF block (libexif would go looking for a JPEG in it).
ExifDataPtr loadExif(QByteArrayView block);
inline ExifDataPtr loadExif(std::span<const unsigned char> block)
{
    return loadExif(QByteArrayView(block.data(), qsizetype(block.size())));
}

// The TIFF structure of a block; a block that is already bare is returned as it is.
QByteArray tiffPart(const QByteArray& block);

// The bytes of a text tag of the main picture's directory, without the NULs that end it;
// empty when the block, or the tag, is missing or damaged.
QByteArray mainPictureText(QByteArrayView block, ExifTag tag);
