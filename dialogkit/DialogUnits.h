#pragma once

#include <QFont>
#include <QRect>

// Converts dialog units to pixels on a font: a horizontal unit is a quarter of the font's
// average character width, a vertical unit an eighth of its height.
class DialogUnits
{
public:
    explicit DialogUnits(const QFont& font);

    int x(int dialogUnits) const;
    int y(int dialogUnits) const;
    QRect rect(int x, int y, int width, int height) const;
    QSize size(int width, int height) const;

private:
    int m_charWidth;
    int m_charHeight;
};
