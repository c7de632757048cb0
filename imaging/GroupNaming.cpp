#include "imaging/GroupNaming.h"

#include <QList>

#include <algorithm>

namespace {

// Latin letters that Unicode does not decompose, spelled as they are without their stroke
// or as the two letters they join.
QString latinSpelling(char32_t c)
{
    switch (c) {
    case U'ß':
    case U'ẞ':
        return QStringLiteral("ss");
    case U'æ':
        return QStringLiteral("ae");
    case U'œ':
        return QStringLiteral("oe");
    case U'ø':
        return QStringLiteral("o");
    case U'ł':
        return QStringLiteral("l");
    case U'đ':
    case U'ð':
        return QStringLiteral("d");
    case U'þ':
        return QStringLiteral("th");
    case U'ı':
        return QStringLiteral("i");
    default:
        return {};
    }
}

bool isKept(char32_t c)
{
    return (c >= U'a' && c <= U'z') || (c >= U'0' && c <= U'9') || c == U'_';
}

bool isMark(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
           category == QChar::Mark_Enclosing;
}

} // namespace

QString webSafePrefix(const QString& prefix)
{
    // Lower case first, so capitals decompose and spell as small letters do; the
    // compatibility forms take ligatures and full-width letters apart too.
    const QString decomposed = prefix.toLower().normalized(QString::NormalizationForm_KD);
    QString safe;
    bool pendingHyphen = false;
    for (const char32_t c : decomposed.toUcs4()) {
        if (isMark(c))
            continue;
        QString spelled = isKept(c) ? QString(QChar(char16_t(c))) : latinSpelling(c);
        if (spelled.isEmpty()) {
            pendingHyphen = !safe.isEmpty();
            continue;
        }
        if (pendingHyphen)
            safe += u'-';
        pendingHyphen = false;
        safe += spelled;
    }
    return pendingHyphen ? safe + u'-' : safe;
}

GroupNaming::GroupNaming(const std::array<QString, 5>& groupText, bool webSafe)
    : m_prefixes(groupText), m_webSafe(webSafe)
{
    if (m_webSafe)
        for (QString& prefix : m_prefixes)
            prefix = webSafePrefix(prefix);
}

void GroupNaming::count(int group)
{
    ++m_sizes[size_t(group - 1)];
}

QString GroupNaming::next(int group)
{
    const size_t g = size_t(group - 1);
    const int number = ++m_numbers[g];
    const int width = m_webSafe ? std::max(2, int(QString::number(m_sizes[g]).size())) : 2;
    return m_prefixes[g] + QStringLiteral("%1").arg(number, width, 10, QLatin1Char('0'));
}
