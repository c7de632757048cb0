#include "imaging/ColourConversion.h"

#include <gd.h>

namespace {

int channel(int light, int black)
{
    return (light * black + 127) / 255;
}

// Each ink takes away its share of light, black from all three, as if printed on white
// paper; stored inverted, a byte already says how much light passes.
void convertInks(const unsigned char* source, int* target, int width, bool inverted)
{
    const int flip = inverted ? 0 : 255;
    for (int index = 0; index < width; ++index) {
        const unsigned char* inks = source + 4 * index;
        const int black = inks[3] ^ flip;
        target[index] = gdTrueColor(channel(inks[0] ^ flip, black), channel(inks[1] ^ flip, black),
                                    channel(inks[2] ^ flip, black));
    }
}

} // namespace

ColourConversion::ColourConversion(SourcePixels pixels,
                                   std::shared_ptr<const ColourTransform> transform)
    : m_pixels(pixels), m_transform(std::move(transform))
{
}

bool ColourConversion::changesPixels() const
{
    return m_transform || isCmyk(m_pixels);
}

void ColourConversion::convertRow(const unsigned char* source, int* target, int width) const
{
    if (m_transform)
        m_transform->convertRow(source, target, width);
    else if (isCmyk(m_pixels))
        convertInks(source, target, width, m_pixels == SourcePixels::InvertedCmyk);
}
