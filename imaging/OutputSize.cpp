#include "imaging/OutputSize.h"

#include "imaging/DecodeFailure.h"

#include <cmath>

namespace {

bool isUsableSide(double side)
{
    return side >= 1.0 && side <= maxJpegSide;
}

} // namespace

std::optional<QSize> outputSize(const OutputProfile& profile, QSize source)
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
    if (!isUsableSide(width) || !isUsableSide(height) || width * height > maxPicturePixels)
        return std::nullopt;
    return QSize(int(width), int(height));
}
