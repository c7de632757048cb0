#include "imaging/JpegCodec.h"

#include "base/LocalPath.h"

#include <sys/stat.h>

#include <climits>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <mutex>
#include <new>

namespace {

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

struct GdBufferDeleter
{
    void operator()(void* buffer) const { gdFree(buffer); }
};
using GdBuffer = std::unique_ptr<void, GdBufferDeleter>;

File openFile(const QString& path, const char* mode)
{
    return File(std::fopen(pathToLocal(path).constData(), mode));
}

void quietGdErrors(int, const char*, va_list) {}

// GD writes its complaints about bad input to stderr; the program reports failures its
// own way, so GD is silenced once for the whole process.
void silenceGd()
{
    static std::once_flag once;
    std::call_once(once, [] { gdSetErrorMethod(quietGdErrors); });
}

} // namespace

GdImage LoadJpegFile(const QString& path)
{
    silenceGd();
    const File file = openFile(path, "rbe");
    if (!file)
        return nullptr;
    struct stat status;
    // GD takes the size as an int.
    if (fstat(fileno(file.get()), &status) != 0 || status.st_size <= 0 || status.st_size > INT_MAX)
        return nullptr;
    const int size = int(status.st_size);
    const std::unique_ptr<char[]> data(new (std::nothrow) char[size]);
    if (!data)
        return nullptr;
    // A short read gives nothing: the decoder must never see bytes that were not read.
    if (std::fread(data.get(), 1, size, file.get()) != std::size_t(size))
        return nullptr;
    return GdImage(gdImageCreateFromJpegPtr(size, data.get()));
}

bool SaveJpegFile(const QString& path, gdImagePtr image, int quality)
{
    silenceGd();
    const File file = openFile(path, "wbe");
    if (!file)
        return false;
    int size = 0;
    const GdBuffer encoded(gdImageJpegPtr(image, &size, quality));
    // A full disk may only show when the buffered bytes are flushed.
    return encoded && size > 0 &&
           std::fwrite(encoded.get(), 1, size, file.get()) == std::size_t(size) &&
           std::fflush(file.get()) == 0;
}
