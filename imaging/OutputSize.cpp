#include "imaging/OutputSize.h"

#include "imaging/DecodeFailure.h"

#include <cmath>

namespace {

struct Sides
{
    double width;
    double height;
};

// The profile's size for the source, before any bound.
Sides unboundedSize(const OutputProfile& profile, QSize source)
{
    // Kept as a 32-bit float, so a 3:4 picture gives 1.33333337; with the truncation below
    // this decides the exact sizes, which must stay those of every earlier run.
    const double ratio = float(double(source.height()) / double(source.width()));
    double width = profile.UseWidth ? profile.Width : source.width();
    double height = profile.UseHeight ? profile.Height : source.height();
    if (!profile.UseWidth)
        width = std::trunc(height / ratio);
    if (!profile.UseHeight)
        height = std::trunc(width * ratio);
    return {width, height};
}

// Also catches the NaN of a side divided by nothing.
bool isTooSmall(Sides sides)
{
    return !(sides.width >= 1.0 && sides.height >= 1.0);
}

bool isTooLarge(Sides sides)
{
    return sides.width > maxJpegSide || sides.height > maxJpegSide ||
           sides.width * sides.height > maxPicturePixels;
}

} // namespace

std::optional<QSize> outputSize(const OutputProfile& profile, QSize source)
{
    const Sides sides = unboundedSize(profile, source);
    if (isTooSmall(sides) || isTooLarge(sides))
        return std::nullopt;
    return QSize(int(sides.width), int(sides.height));
}

OutputFailure::Kind outputSizeFailure(const OutputProfile& profile, QSize source)
{
    return isTooSmall(unboundedSize(profile, source)) ? OutputFailure::Kind::TooSmall
                                                      : OutputFailure::Kind::TooLarge;
}
