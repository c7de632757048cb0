#pragma once

#include <QByteArray>
#include <QString>

namespace RemotePath {

// Where a directory name leads from an absolute directory, as a server resolves it: relative
// names and ".." act on the current directory, a name starting with "/" starts from the top,
// and ".." above the top stays at the top.
QByteArray resolve(const QByteArray& current, const QByteArray& directory);
QString resolve(const QString& current, const QString& directory);

// A file of an absolute directory.
QString join(const QString& directory, const QString& name);
QByteArray join(const QByteArray& directory, const QByteArray& name);

} // namespace RemotePath
