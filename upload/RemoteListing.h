#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

// The regular files of one remote folder with their sizes, by name. Names are held as
// pathFromLocal gives them, so a name that is not valid UTF-8 survives byte for byte.
using RemoteListing = QHash<QString, qint64>;

namespace RemoteListings {

// The reply to MLSD: one "fact=value;...; name" line per entry. Only entries of type "file"
// with a size count.
RemoteListing fromMlsd(const QByteArray& text);

// The reply to LIST, or an SFTP listing: lines as "ls -l" writes them, or as DOS and Windows
// servers write them ("01-31-24  09:15PM  1234 name"). Only regular files count; a line of
// any other shape is left out, so its file counts as missing and is sent.
RemoteListing fromList(const QByteArray& text);

} // namespace RemoteListings
