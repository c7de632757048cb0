#include "base/LocalPath.h"

#include <algorithm>

namespace {

constexpr char16_t escapeBase = 0xDC00;

bool isEscapedByte(char16_t c)
{
    return c >= escapeBase + 0x80 && c <= escapeBase + 0xFF;
}

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence starting at bytes[i], or 0 when there is none.
// Overlong forms, surrogates and code points beyond U+10FFFF are not valid.
qsizetype validSequence(const QByteArray& bytes, qsizetype i)
{
    const auto at = [&](qsizetype k) { return static_cast<unsigned char>(bytes[i + k]); };
    const unsigned char lead = at(0);
    qsizetype length = 0;
    char32_t codePoint = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (qsizetype k = 1; k < length; ++k) {
        if (!isContinuation(at(k)))
            return 0;
        codePoint = codePoint << 6 | (at(k) & 0x3F);
    }
    const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < smallest[length] || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

QString pathFromLocal(const QByteArray& bytes)
{
    if (bytes.isValidUtf8())
        return QString::fromUtf8(bytes);
    QString path;
    path.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        if (const qsizetype length = validSequence(bytes, i)) {
            path += QString::fromUtf8(bytes.constData() + i, length);
            i += length;
        } else {
            path += QChar(char16_t(escapeBase + static_cast<unsigned char>(bytes[i])));
            ++i;
        }
    }
    return path;
}

QByteArray pathToLocal(const QString& path)
{
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path[i].unicode();
        // A low surrogate right after a high one is half of a real character.
        const bool paired = i > 0 && path[i - 1].isHighSurrogate();
        if (!isEscapedByte(c) || paired)
            continue;
        bytes += path.sliced(runStart, i - runStart).toUtf8();
        bytes += char(c - escapeBase);
        runStart = i + 1;
    }
    bytes += path.sliced(runStart).toUtf8();
    return bytes;
}

qsizetype lastPathSeparator(const QString& path)
{
#ifdef Q_OS_WIN
    return std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
#else
    return path.lastIndexOf(u'/');
#endif
}
