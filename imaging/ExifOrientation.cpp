#include "imaging/ExifOrientation.h"

#include <libexif/exif-data.h>

#include <cstring>
#include <memory>

namespace {

constexpr unsigned char exifHeader[] = {'E', 'x', 'i', 'f', 0, 0};

bool isExifBlock(std::span<const unsigned char> payload)
{
    return payload.size() > sizeof exifHeader &&
           std::memcmp(payload.data(), exifHeader, sizeof exifHeader) == 0;
}

struct ExifDataDeleter
{
    void operator()(ExifData* data) const { exif_data_unref(data); }
};

} // namespace

Orientation exifOrientation(std::span<const unsigned char> app1Payload)
{
    // libexif would go looking for a JPEG in anything else, such as an XMP block.
    if (!isExifBlock(app1Payload))
        return Orientation::AsStored;
    const std::unique_ptr<ExifData, ExifDataDeleter> data(exif_data_new());
    if (!data)
        return Orientation::AsStored;
    // Read the tags as the camera wrote them, without filling in defaults.
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(data.get(), app1Payload.data(), unsigned(app1Payload.size()));
    // Only the main picture's directory counts: the embedded thumbnail's has its own tag.
    const ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    if (!entry || entry->format != EXIF_FORMAT_SHORT || entry->components < 1 || entry->size < 2)
        return Orientation::AsStored;
    const ExifShort value = exif_get_short(entry->data, exif_data_get_byte_order(data.get()));
    if (value < 1 || value > 8)
        return Orientation::AsStored;
    return Orientation(value);
}

Orientation exifOrientation(jpeg_saved_marker_ptr markers)
{
    for (jpeg_saved_marker_ptr marker = markers; marker; marker = marker->next) {
        const std::span<const unsigned char> payload(marker->data, marker->data_length);
        if (marker->marker == JPEG_APP0 + 1 && isExifBlock(payload))
            return exifOrientation(payload);
    }
    return Orientation::AsStored;
}
