#include "upload/RemoteListing.h"

#include "base/LocalPath.h"

#include <QList>
#include <QRegularExpression>

namespace RemoteListings {
namespace {

// A size as a listing writes it: decimal digits only, small enough for a file.
bool takeSize(const QByteArray& text, qint64& size)
{
    if (text.isEmpty() || text.size() > 18)
        return false;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    size = text.toLongLong();
    return true;
}

// A name that names a file of this folder, not another one or the folder itself.
bool isPlainName(const QByteArray& name)
{
    return !name.isEmpty() && name != "." && name != ".." && !name.contains('/');
}

QList<QByteArray> lines(const QByteArray& text)
{
    QList<QByteArray> result = text.split('\n');
    for (QByteArray& line : result) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return result;
}

} // namespace

RemoteListing fromMlsd(const QByteArray& text)
{
    RemoteListing listing;
    for (const QByteArray& line : lines(text)) {
        // The facts end at the first "; ", and the name is all that follows, blanks included.
        const qsizetype end = line.indexOf("; ");
        if (end < 0)
            continue;
        const QByteArray name = line.mid(end + 2);
        bool isFile = false;
        bool hasSize = false;
        qint64 size = 0;
        for (const QByteArray& fact : line.left(end).split(';')) {
            const qsizetype equals = fact.indexOf('=');
            if (equals < 0)
                continue;
            const QByteArray key = fact.left(equals).toLower();
            const QByteArray value = fact.mid(equals + 1);
            if (key == "type")
                isFile = value.toLower() == "file";
            else if (key == "size")
                hasSize = takeSize(value, size);
        }
        if (isFile && hasSize && isPlainName(name))
            listing.insert(pathFromLocal(name), size);
    }
    return listing;
}

RemoteListing fromList(const QByteArray& text)
{
    // "-rw-r--r--  1 owner group  1234 Jan 31 21:15 a name": the name is everything after
    // the date and time, blanks included.
    static const QRegularExpression unix(
        QStringLiteral(R"(^-\S{9}\S?\s+\d+\s+\S+\s+(?:\S+\s+)?(\d+)\s+\S+\s+\S+\s+\S+ (.+)$)"));
    static const QRegularExpression dos(
        QStringLiteral(R"(^\d\d-\d\d-\d\d(?:\d\d)?\s+\d\d?:\d\d(?:AM|PM)?\s+(\d+) (.+)$)"));
    RemoteListing listing;
    for (const QByteArray& line : lines(text)) {
        // Matched on Latin-1, which maps every byte to one character, so the name comes back
        // as the same bytes.
        const QString latin = QString::fromLatin1(line);
        QRegularExpressionMatch match = unix.match(latin);
        if (!match.hasMatch())
            match = dos.match(latin);
        if (!match.hasMatch())
            continue;
        qint64 size = 0;
        const QByteArray name = match.captured(2).toLatin1();
        if (takeSize(match.captured(1).toLatin1(), size) && isPlainName(name))
            listing.insert(pathFromLocal(name), size);
    }
    return listing;
}

} // namespace RemoteListings
