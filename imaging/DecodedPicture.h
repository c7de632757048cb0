#pragma once

#include "imaging/GdImage.h"
#include "imaging/Orientation.h"

#include <QSize>

// A decoded picture in sRGB, kept as its file stores it, with how it stands. Outputs are
// scaled from it as stored and turned upright afterwards: the exact area average gives the
// same pixels either way, and turning an output costs a fraction of turning the picture.
class DecodedPicture
{
public:
    DecodedPicture() = default;
    DecodedPicture(GdImage stored, Orientation orientation);

    explicit operator bool() const { return bool(m_stored); }
    // The upright picture's size.
    QSize size() const;
    // The upright picture scaled to size (upright) by ScalePicture; null when that cannot
    // be made.
    GdImage scaled(QSize size) const;
    // The whole picture turned upright, taken out of this one.
    GdImage upright() &&;

private:
    GdImage m_stored;
    Orientation m_orientation = Orientation::AsStored;
};
