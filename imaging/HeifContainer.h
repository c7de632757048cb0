#pragma once

#include "imaging/HeifFileReader.h"

#include <QByteArray>

#include <libheif/heif.h>

#include <memory>

// The largest metadata item of a HEIF file taken: a camera's EXIF is a few kilobytes, and a
// JPEG's cannot exceed 64 kilobytes.
constexpr size_t maxHeifMetadataBytes = 1024 * 1024;
// The longest side a canvas libheif lays out may have: the most a JPEG output can hold.
constexpr int maxHeifSide = 65500;

// A HEIF file's container as libheif reads it, without a pixel decoded: its boxes, and the
// handle of its primary picture. The list, which only wants the header, and the decoder read
// it the same way.
class HeifContainer
{
public:
    HeifContainer();
    ~HeifContainer();
    HeifContainer(const HeifContainer&) = delete;
    HeifContainer& operator=(const HeifContainer&) = delete;

    // Takes the opened file and reads its container; false when libheif finds no primary
    // picture in it. No canvas libheif lays out may be wider or higher than maxHeifSide.
    bool read(FilePtr file);

    // Valid once read() succeeded.
    const heif_image_handle* primary() const { return m_primary.get(); }
    std::FILE* file() const { return m_reader.file.get(); }
    int64_t fileSize() const { return m_reader.size; }

    // The primary picture's EXIF block as a JPEG's APP1 segment carries it; empty when it has
    // none, or an unusable one.
    QByteArray exif() const;
    // The primary picture's XMP packet; empty when it has none.
    QByteArray xmp() const;

private:
    HeifFileReader m_reader; // before the context, which reads through it until it is freed
    std::unique_ptr<heif_context, void (*)(heif_context*)> m_context;
    std::unique_ptr<heif_image_handle, void (*)(const heif_image_handle*)> m_primary;
};
