#include "base/RegularFile.h"

#include "base/LocalPath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

FilePtr openRegularFile(const QString& path)
{
    const QByteArray local = pathToLocal(path);
    struct stat status;
    // Looked at before opening, and again once open, in case the name changed hands.
    if (stat(local.constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return nullptr;
    const int fd = ::open(local.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    FilePtr file(fdopen(fd, "rb"));
    if (!file)
        ::close(fd);
    return file;
}
