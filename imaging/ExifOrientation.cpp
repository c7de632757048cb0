#include "imaging/ExifOrientation.h"

#include "imaging/ExifBlock.h"

Orientation exifOrientation(std::span<const unsigned char> app1Payload)
{
    const ExifDataPtr data = loadExif(app1Payload);
    if (!data)
        return Orientation::AsStored;
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
