#include "imaging/HeifFileReader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>

namespace {

HeifFileReader& self(void* reader)
{
    return *static_cast<HeifFileReader*>(reader);
}

int64_t getPosition(void* reader)
{
    return self(reader).position;
}

int read(void* data, size_t size, void* reader)
{
    HeifFileReader& file = self(reader);
    auto* target = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t got = pread(fileno(file.file.get()), target, size, file.position);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return 1;
        target += got;
        size -= size_t(got);
        file.position += got;
    }
    return 0;
}

int seek(int64_t position, void* reader)
{
    HeifFileReader& file = self(reader);
    if (position < 0 || position > file.size)
        return 1;
    file.position = position;
    return 0;
}

heif_reader_grow_status waitForFileSize(int64_t targetSize, void* reader)
{
    return targetSize > self(reader).size ? heif_reader_grow_status_size_beyond_eof
                                          : heif_reader_grow_status_size_reached;
}

} // namespace

const heif_reader HeifFileReader::calls = {1, getPosition, read, seek, waitForFileSize};

bool HeifFileReader::open(FilePtr opened)
{
    file = std::move(opened);
    struct stat status;
    if (!file || fstat(fileno(file.get()), &status) != 0)
        return false;
    size = status.st_size;
    position = 0;
    return true;
}

void initialiseLibheif()
{
    static std::once_flag once;
    std::call_once(once, [] { heif_init(nullptr); });
}
