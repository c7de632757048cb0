#pragma once

#include "imaging/ColourTransform.h"

// How one picture's rows become sRGB: through its embedded profile when that says
// something, by the plain ink formula for CMYK without one, and not at all for colour and
// gray pictures without one, which are sRGB already. Cheap to copy; safe to use from
// several threads at once.
class ColourConversion
{
public:
    ColourConversion(SourcePixels pixels, std::shared_ptr<const ColourTransform> transform);

    // False when the rows are sRGB as decoded: the decoder can skip the call.
    bool changesPixels() const;

    // One row of width pixels into opaque GD true-colour pixels. For colour and gray
    // pictures, source and target may be the same row.
    void convertRow(const unsigned char* source, int* target, int width) const;

private:
    SourcePixels m_pixels;
    std::shared_ptr<const ColourTransform> m_transform;
};
