#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// What a picture says it shows, for the alternative text of its markup.

// The EXIF ImageDescription of an EXIF block (see ExifBlock.h); none when it is missing or
// blank.
std::optional<QString> exifDescription(QByteArrayView exifBlock);

// The title (dc:title) of an XMP packet, in the default language where there are several;
// none when it has none or is not XML. The packet may start with the namespace line a JPEG
// segment carries it with.
std::optional<QString> xmpTitle(QByteArrayView xmp);
