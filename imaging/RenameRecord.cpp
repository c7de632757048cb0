#include "imaging/RenameRecord.h"

#include "base/LocalPath.h"
#include "base/ReportEscape.h"
#include "imaging/RenameNoReplace.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace {

QString timeText(qint64 msecsSinceEpoch)
{
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(msecsSinceEpoch);
    // With its offset, so that lines stay comparable across a change of clocks or zones.
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

// Two runs of one program never share a start, however quickly they follow each other.
QString uniqueRunStart()
{
    static std::atomic<qint64> lastStart = 0;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    qint64 previous = lastStart.load();
    qint64 start = 0;
    do {
        start = std::max(now, previous + 1);
    } while (!lastStart.compare_exchange_weak(previous, start));
    return timeText(start);
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t step =
            ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (step < 0 && errno == EINTR)
            continue;
        if (step <= 0) {
            if (step == 0)
                errno = ENOSPC;
            return false;
        }
        written += step;
    }
    return true;
}

// Makes the folder and those above it, by the bytes of its name (QDir would spell a name
// that is not UTF-8 differently). Private, as the data folder of a user should be.
bool makeFolders(const QByteArray& folder)
{
    for (qsizetype slash = folder.indexOf('/', 1);; slash = folder.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? folder : folder.first(slash);
        if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST)
            return false;
        if (slash < 0)
            break;
    }
    struct stat status;
    if (stat(folder.constData(), &status) != 0)
        return false;
    errno = ENOTDIR;
    return S_ISDIR(status.st_mode);
}

// A new file's name lasts only once its folder is on disk too.
void syncFolderOf(const QByteArray& file)
{
    const QByteArray folder = pathToLocal(QFileInfo(pathFromLocal(file)).path());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        ::close(fd);
    }
}

} // namespace

QString RenameRecord::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + u'/' +
           QLatin1String(fileName);
}

RenameRecord::RenameRecord(const QString& path) : m_path(path), m_runStart(uniqueRunStart()) {}

RenameRecord::~RenameRecord()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool RenameRecord::open()
{
    if (m_fd >= 0)
        return true;
    if (!m_problem.isEmpty())
        return false;
    const QString folder = QFileInfo(m_path).path();
    if (!makeFolders(pathToLocal(folder))) {
        m_problem = QStringLiteral("%1: %2").arg(folder, systemError(errno));
        return false;
    }
    const QByteArray local = pathToLocal(m_path);
    // Private: the record names the user's photographs and where they are.
    m_fd = ::open(local.constData(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600);
    if (m_fd < 0) {
        m_problem = QStringLiteral("%1: %2").arg(m_path, systemError(errno));
        return false;
    }
    struct stat status;
    if (fstat(m_fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        m_problem =
            QCoreApplication::translate("RenameRecord", "%1: not a regular file").arg(m_path);
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    // A line cut short by a crash gets an end that no whole line has, an empty field: its
    // paths may be cut short too, and the next line stands on its own.
    char last = '\n';
    if (status.st_size > 0 && pread(m_fd, &last, 1, status.st_size - 1) != 1)
        last = '\n';
    if (last != '\n' && !writeAll(m_fd, "\t\n")) {
        m_problem = QStringLiteral("%1: %2").arg(m_path, systemError(errno));
        ::close(m_fd);
        m_fd = -1;
        return false;
    }
    syncFolderOf(local);
    return true;
}

std::error_code RenameRecord::rename(const QString& from, const QString& to)
{
    if (!open())
        return std::make_error_code(std::errc::io_error);
    if (const std::error_code error = renameNoReplace(from, to))
        return error;
    if (append(from, to))
        return {};
    // The old name was free a moment ago; only if it is taken since does the file keep its
    // new name, and then the caller must know it.
    if (renameNoReplace(to, from))
        return {};
    return std::make_error_code(std::errc::io_error);
}

bool RenameRecord::append(const QString& from, const QString& to)
{
    const QString line = m_runStart + u'\t' + timeText(QDateTime::currentMSecsSinceEpoch()) +
                         u'\t' + escapeForReport(from) + u'\t' + escapeForReport(to) + u'\n';
    struct stat status;
    const off_t before = fstat(m_fd, &status) == 0 ? status.st_size : -1;
    if (writeAll(m_fd, line.toUtf8()) && fdatasync(m_fd) == 0)
        return true;
    const int error = errno;
    // No half line stays behind to join the next one.
    if (before >= 0 && ftruncate(m_fd, before) == 0)
        fdatasync(m_fd);
    m_problem = QStringLiteral("%1: %2").arg(m_path, systemError(error));
    ::close(m_fd);
    m_fd = -1;
    return false;
}

QString RenameRecord::takeFailure()
{
    if (m_problem.isEmpty() || m_failureTaken)
        return {};
    m_failureTaken = true;
    return QCoreApplication::translate(
               "RenameRecord", "The renames cannot be recorded (%1), so the originals keep their "
                               "names.")
        .arg(m_problem);
}
