#include "upload/RemotePath.h"

#include "base/LocalPath.h"

#include <QList>

namespace RemotePath {

QByteArray resolve(const QByteArray& current, const QByteArray& directory)
{
    QList<QByteArray> parts;
    const auto walk = [&parts](const QByteArray& path) {
        for (const QByteArray& part : path.split('/')) {
            if (part == "..") {
                if (!parts.isEmpty())
                    parts.removeLast();
            } else if (!part.isEmpty() && part != ".") {
                parts << part;
            }
        }
    };
    if (!directory.startsWith('/'))
        walk(current);
    walk(directory);
    return '/' + parts.join('/');
}

QString resolve(const QString& current, const QString& directory)
{
    return pathFromLocal(resolve(pathToLocal(current), pathToLocal(directory)));
}

QString join(const QString& directory, const QString& name)
{
    return pathFromLocal(join(pathToLocal(directory), pathToLocal(name)));
}

QByteArray join(const QByteArray& directory, const QByteArray& name)
{
    return directory.endsWith('/') ? directory + name : directory + '/' + name;
}

} // namespace RemotePath
