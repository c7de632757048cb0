#include "imaging/PictureFacts.h"

#include "imaging/ExifMetadata.h"
#include "imaging/PictureHeader.h"

PictureFacts readPictureFacts(const QString& path)
{
    const PictureHeader header = readPictureHeader(path);
    PictureFacts facts;
    facts.readable = header.readable;
    facts.format = header.format;
    facts.size = header.size;
    facts.modified = header.modified;
    if (header.readable)
        facts.taken =
            exifDateTaken(std::span(reinterpret_cast<const unsigned char*>(header.exif.constData()),
                                    size_t(header.exif.size())));
    return facts;
}
