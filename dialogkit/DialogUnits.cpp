#include "dialogkit/DialogUnits.h"

#include <QFontMetrics>

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int alphabetWidth =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_charWidth = (alphabetWidth / 26 + 1) / 2;
    m_charHeight = metrics.height();
}

int DialogUnits::x(int dialogUnits) const
{
    return (dialogUnits * m_charWidth + 2) / 4;
}

int DialogUnits::y(int dialogUnits) const
{
    return (dialogUnits * m_charHeight + 4) / 8;
}

QRect DialogUnits::rect(int x, int y, int width, int height) const
{
    return QRect(this->x(x), this->y(y), this->x(width), this->y(height));
}

QSize DialogUnits::size(int width, int height) const
{
    return QSize(x(width), y(height));
}
