#pragma once

#include <QByteArray>
#include <QString>

// File names on this system are bytes, and not every name is valid UTF-8: an old camera card
// may hold a Latin-1 name. These two carry such a name through a QString and back byte for
// byte: every byte that is not part of valid UTF-8 becomes the lone surrogate U+DC80..U+DCFF
// and turns back into that byte. Every path the core hands to the operating system goes
// through pathToLocal.
QString pathFromLocal(const QByteArray& bytes);
QByteArray pathToLocal(const QString& path);

// Where the folder part of a path ends: its last slash, -1 when it has none. A backslash is
// an ordinary character of a file name here; only a Windows build splits at it too.
qsizetype lastPathSeparator(const QString& path);
