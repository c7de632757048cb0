#pragma once

#include <QByteArrayView>
#include <QString>

#include <system_error>

// Gives the file at path exactly these bytes, or leaves it as it was. The bytes go to a
// temporary file beside it, which replaces it only once they are all written, so a full
// disk, a failing write or an interrupted run never leaves a half-written or empty file
// behind, and no temporary file either. A path that is a link is replaced by the file, and
// what the link points to is never opened; anything else but a regular file at path is left
// alone. Empty when the whole file is in place, else why it is not.
std::error_code replaceFile(const QString& path, QByteArrayView bytes);
