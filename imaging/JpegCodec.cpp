#include "imaging/JpegCodec.h"

#include "imaging/PictureEncoder.h"
#include "imaging/ReplaceFile.h"

#include <cstdarg>
#include <mutex>

namespace {

void quietGdErrors(int, const char*, va_list) {}

// GD writes its complaints to stderr; the program reports failures its own way, so GD is
// silenced once for the whole process.
void silenceGd()
{
    static std::once_flag once;
    std::call_once(once, [] { gdSetErrorMethod(quietGdErrors); });
}

} // namespace

QByteArray EncodeJpeg(gdImagePtr image, int quality)
{
    silenceGd();
    if (!image)
        return {};
    return pictureEncoder(OutputFormat::Jpeg).encode(*image, {.quality = quality});
}

bool SaveJpegFile(const QString& path, gdImagePtr image, int quality)
{
    const QByteArray encoded = EncodeJpeg(image, quality);
    return !encoded.isEmpty() && !replaceFile(path, encoded);
}
