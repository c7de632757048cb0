#include "imaging/RgbRows.h"

void copyRgbRow(const gdImage& picture, int y, std::span<unsigned char> rgb)
{
    const int* pixels = picture.tpixels[y];
    for (int x = 0; x < picture.sx; ++x) {
        rgb[3 * size_t(x)] = (unsigned char)gdTrueColorGetRed(pixels[x]);
        rgb[3 * size_t(x) + 1] = (unsigned char)gdTrueColorGetGreen(pixels[x]);
        rgb[3 * size_t(x) + 2] = (unsigned char)gdTrueColorGetBlue(pixels[x]);
    }
}
