#pragma once

#include <QString>
#include <QStringList>

// Questions about the file system for names given on a command line or dropped from a file
// manager, asked byte for byte (see LocalPath.h) so that a name that is not valid UTF-8 is
// found as well.

enum class FileKind
{
    Missing,
    Folder,
    File, // anything else that exists
};

// The arguments after the program's name, byte for byte: QCoreApplication::arguments()
// would turn a file name that is not valid UTF-8 into one that does not exist.
QStringList commandLineArguments(int argc, char* argv[]);

// What path names, following links.
FileKind fileKind(const QString& path);

// path made absolute against the working directory, with "." and ".." taken out as
// QDir::cleanPath takes them out; the bytes of the names stay as they were.
QString absolutePath(const QString& path);
