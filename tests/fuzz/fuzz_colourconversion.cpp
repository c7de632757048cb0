#include "imaging/ColourTransforms.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>
#include <vector>

// The first byte picks the kind of pixels, the rest is an embedded ICC profile: the
// conversion built from it turns a row of every value into sRGB.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const auto pixels = SourcePixels(data[0] % 4);
    ColourTransforms transforms;
    const ColourConversion conversion = transforms.conversionFor(
        pixels, QByteArrayView(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1)));
    constexpr int width = 256;
    std::vector<unsigned char> row(4 * width);
    for (int x = 0; x < width; ++x)
        for (int c = 0; c < 4; ++c)
            row[4 * x + c] = static_cast<unsigned char>(x * (c + 1) + c * 61);
    std::vector<int> target(width);
    if (conversion.changesPixels())
        conversion.convertRow(row.data(), target.data(), width);
    return 0;
}
