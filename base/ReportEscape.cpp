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
