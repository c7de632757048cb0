#include "imaging/JpegCodec.h"

#include "imaging/PictureEncoder.h"
#include "imaging/ReplaceFile.h"

QByteArray EncodeJpeg(gdImagePtr image, int quality)
{
    if (!image)
        return {};
    return pictureEncoder(OutputFormat::Jpeg).encode(*image, {.quality = quality});
}

bool SaveJpegFile(const QString& path, gdImagePtr image, int quality)
{
    const QByteArray encoded = EncodeJpeg(image, quality);
    return !encoded.isEmpty() && !replaceFile(path, encoded);
}
