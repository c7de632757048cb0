#include "base/LocalFile.h"

#include "base/LocalPath.h"

#include <QDir>

#include <cstdlib>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace {

struct FreeDeleter
{
    void operator()(char* text) const { std::free(text); }
};

// QDir::currentPath() would turn bytes that are not UTF-8 into replacement characters.
QString workingDirectory()
{
    const std::unique_ptr<char, FreeDeleter> path(getcwd(nullptr, 0));
    return path ? pathFromLocal(QByteArray(path.get())) : QString();
}

} // namespace

QStringList commandLineArguments(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << pathFromLocal(QByteArray(argv[i]));
    return arguments;
}

FileKind fileKind(const QString& path)
{
    struct stat status;
    if (stat(pathToLocal(path).constData(), &status) != 0)
        return FileKind::Missing;
    return S_ISDIR(status.st_mode) ? FileKind::Folder : FileKind::File;
}

QString absolutePath(const QString& path)
{
    if (path.startsWith(u'/'))
        return QDir::cleanPath(path);
    return QDir::cleanPath(workingDirectory() + u'/' + path);
}
