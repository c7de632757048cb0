#include "base/ReportEscape.h"

#include "base/LocalPath.h"

namespace {

bool isPrintable(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return QChar::isPrint(c) && category != QChar::Separator_Line &&
           category != QChar::Separator_Paragraph;
}

QString shortEscape(char32_t c)
{
    switch (c) {
    case u'\\':
        return QStringLiteral("\\\\");
    case u'\n':
        return QStringLiteral("\\n");
    case u'\r':
        return QStringLiteral("\\r");
    case u'\t':
        return QStringLiteral("\\t");
    default:
        return {};
    }
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1; // escapeForReport writes lower case only
}

} // namespace

QString escapeForReport(const QString& text)
{
    QString escaped;
    escaped.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const QStringView character = QStringView(text).sliced(i, pair ? 2 : 1);
        const char32_t c = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
        i += character.size();
        if (const QString shortForm = shortEscape(c); !shortForm.isEmpty()) {
            escaped += shortForm;
        } else if (isPrintable(c)) {
            escaped += character;
        } else {
            // The bytes the name holds on disk; a byte that is not UTF-8 comes back as itself.
            for (const char byte : pathToLocal(character.toString()))
                escaped += QStringLiteral("\\x%1").arg(uchar(byte), 2, 16, QLatin1Char('0'));
        }
    }
    return escaped;
}

std::optional<QByteArray> unescapeReport(QByteArrayView utf8)
{
    QByteArray bytes;
    bytes.reserve(utf8.size());
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        if (utf8[i] != '\\') {
            bytes += utf8[i];
            continue;
        }
        if (++i == utf8.size())
            return std::nullopt;
        switch (utf8[i]) {
        case '\\':
            bytes += '\\';
            break;
        case 'n':
            bytes += '\n';
            break;
        case 'r':
            bytes += '\r';
            break;
        case 't':
            bytes += '\t';
            break;
        case 'x': {
            const int high = i + 2 < utf8.size() ? hexDigit(utf8[i + 1]) : -1;
            const int low = i + 2 < utf8.size() ? hexDigit(utf8[i + 2]) : -1;
            if (high < 0 || low < 0)
                return std::nullopt;
            bytes += char(high << 4 | low);
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return bytes;
}
