#include "imaging/DecodedPicture.h"

#include "imaging/ScalePicture.h"

DecodedPicture::DecodedPicture(GdImage stored, Orientation orientation)
    : m_stored(std::move(stored)), m_orientation(orientation)
{
}

QSize DecodedPicture::size() const
{
    return m_stored ? uprightSize(QSize(m_stored->sx, m_stored->sy), m_orientation) : QSize();
}

GdImage DecodedPicture::scaled(QSize size) const
{
    // Sides swap alike either way, so the upright size turned is the stored one.
    GdImage output = ScalePicture(m_stored.get(), uprightSize(size, m_orientation));
    return output ? turnUpright(std::move(output), m_orientation) : nullptr;
}

GdImage DecodedPicture::upright() &&
{
    return m_stored ? turnUpright(std::move(m_stored), m_orientation) : nullptr;
}
