#include "imaging/ReplaceFile.h"

#include "base/ErrorText.h"
#include "base/LocalPath.h"

#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

constexpr int nameAttempts = 16;

// A hidden name in the target's own folder, so the final rename never crosses file systems.
QByteArray temporaryNameBeside(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray() : path.left(slash + 1);
    return folder + ".morvane-" + QByteArray::number(QRandomGenerator::global()->generate64(), 36) +
           ".tmp";
}

std::error_code writeAll(int fd, QByteArrayView bytes)
{
    while (!bytes.isEmpty()) {
        const ssize_t written = ::write(fd, bytes.data(), size_t(bytes.size()));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return lastSystemError();
        // A write that takes nothing has run out of room.
        if (written == 0)
            return std::make_error_code(std::errc::no_space_on_device);
        bytes = bytes.sliced(written);
    }
    return {};
}

} // namespace

std::error_code replaceFile(const QString& path, QByteArrayView bytes)
{
    const QByteArray target = pathToLocal(path);
    struct stat status;
    // A device, FIFO or folder of that name is no earlier output; it is left alone. A link
    // is replaced itself: what it points to may be any file of the user's, which a link
    // planted in a save folder would otherwise have overwritten.
    if (lstat(target.constData(), &status) == 0 && !S_ISREG(status.st_mode) &&
        !S_ISLNK(status.st_mode))
        return std::make_error_code(S_ISDIR(status.st_mode) ? std::errc::is_a_directory
                                                            : std::errc::invalid_argument);
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < nameAttempts && fd < 0; ++attempt) {
        temporary = temporaryNameBeside(target);
        // The mode a new file gets from fopen: 0666 less the umask.
        fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return lastSystemError();
    }
    if (fd < 0)
        return std::make_error_code(std::errc::file_exists);
    std::error_code error = writeAll(fd, bytes);
    // close() reports what the disk refused late, on some file systems only there.
    if (::close(fd) != 0 && !error)
        error = lastSystemError();
    if (!error && ::rename(temporary.constData(), target.constData()) != 0)
        error = lastSystemError();
    if (error)
        ::unlink(temporary.constData());
    return error;
}
