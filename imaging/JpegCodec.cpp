#include "imaging/JpegCodec.h"

#include "imaging/ReplaceFile.h"

#include <cstdarg>
#include <memory>
#include <mutex>

namespace {

struct GdBufferDeleter
{
    void operator()(void* buffer) const { gdFree(buffer); }
};
using GdBuffer = std::unique_ptr<void, GdBufferDeleter>;

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
    int size = 0;
    const GdBuffer encoded(gdImageJpegPtr(image, &size, quality));
    if (!encoded || size <= 0)
        return {};
    return QByteArray(static_cast<const char*>(encoded.get()), size);
}

bool SaveJpegFile(const QString& path, gdImagePtr image, int quality)
{
    const QByteArray encoded = EncodeJpeg(image, quality);
    return !encoded.isEmpty() && !replaceFile(path, encoded);
}
