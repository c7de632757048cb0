#pragma once

#include "PhotoPictures.h"

#include <algorithm>
#include <array>
#include <cmath>

// Expected colours worked out from the published primaries and tone curves, the textbook
// way, without Little CMS: decode to linear light, to XYZ, to linear sRGB, encode.
namespace ColourMath {

using Matrix = std::array<std::array<double, 3>, 3>;
using Rgb = std::array<int, 3>;

inline Matrix inverse(const Matrix& m)
{
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                       m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                       m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    Matrix result;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            const int r0 = (column + 1) % 3, r1 = (column + 2) % 3;
            const int c0 = (row + 1) % 3, c1 = (row + 2) % 3;
            result[row][column] = (m[r0][c0] * m[r1][c1] - m[r0][c1] * m[r1][c0]) / det;
        }
    return result;
}

inline std::array<double, 3> times(const Matrix& m, const std::array<double, 3>& v)
{
    std::array<double, 3> result{};
    for (int row = 0; row < 3; ++row)
        result[row] = m[row][0] * v[0] + m[row][1] * v[1] + m[row][2] * v[2];
    return result;
}

inline std::array<double, 3> xyz(PhotoPictures::Chromaticity c)
{
    return {c.x / c.y, 1.0, (1 - c.x - c.y) / c.y};
}

// Linear RGB to XYZ: the primaries' XYZ as columns, scaled so that white is (1, 1, 1).
inline Matrix toXyz(const PhotoPictures::RgbSpace& space)
{
    const std::array<std::array<double, 3>, 3> primaries = {xyz(space.red), xyz(space.green),
                                                            xyz(space.blue)};
    Matrix columns;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            columns[row][column] = primaries[column][row];
    const std::array<double, 3> scale = times(inverse(columns), xyz(space.white));
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            columns[row][column] *= scale[column];
    return columns;
}

inline double srgbToLinear(double v)
{
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

inline double linearToSrgb(double v)
{
    return v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1 / 2.4) - 0.055;
}

inline int level(double v)
{
    return int(std::lround(std::clamp(v, 0.0, 1.0) * 255));
}

// A colour in levels, each rounded to the nearest.
inline Rgb rounded(const std::array<double, 3>& colour)
{
    return {int(std::lround(colour[0])), int(std::lround(colour[1])), int(std::lround(colour[2]))};
}

inline double toLinear(const PhotoPictures::RgbSpace& space, int value)
{
    return space.srgbCurve ? srgbToLinear(value / 255.0) : std::pow(value / 255.0, space.gamma);
}

// The sRGB colour of a pixel given in another RGB space with the same white.
inline Rgb toSrgb(const PhotoPictures::RgbSpace& space, Rgb value)
{
    const std::array<double, 3> linear = {toLinear(space, value[0]), toLinear(space, value[1]),
                                          toLinear(space, value[2])};
    const std::array<double, 3> srgb =
        times(inverse(toXyz(PhotoPictures::srgbSpace)), times(toXyz(space), linear));
    return {level(linearToSrgb(srgb[0])), level(linearToSrgb(srgb[1])),
            level(linearToSrgb(srgb[2]))};
}

// The sRGB level of a gray given with a pure power tone curve.
inline int grayToSrgb(double gamma, int value)
{
    return level(linearToSrgb(std::pow(value / 255.0, gamma)));
}

inline Rgb rgbOf(int pixel)
{
    return {gdTrueColorGetRed(pixel), gdTrueColorGetGreen(pixel), gdTrueColorGetBlue(pixel)};
}

inline int farthest(Rgb a, Rgb b)
{
    return std::max({std::abs(a[0] - b[0]), std::abs(a[1] - b[1]), std::abs(a[2] - b[2])});
}

} // namespace ColourMath
