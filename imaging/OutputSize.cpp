#include "imaging/OutputSize.h"

#include "imaging/DecodeFailure.h"

#include <cmath>

namespace {

// Today's rule for each side: a fixed side where the profile asks for it, the other one
// following the aspect.
QSizeF followingAspect(bool useWidth, double width, bool useHeight, double height, QSize picture)
{
    // Kept as a 32-bit float, so a 3:4 picture gives 1.33333337; with the truncation below
    // this decides the exact sizes, which must stay those of every earlier run.
    const double ratio = float(double(picture.height()) / double(picture.width()));
    double w = useWidth ? width : picture.width();
    double h = useHeight ? height : picture.height();
    if (!useWidth)
        w = std::trunc(h / ratio);
    if (!useHeight)
        h = std::trunc(w * ratio);
    return {w, h};
}

} // namespace

QSizeF intendedSize(const OutputProfile& profile, QSize picture)
{
    QSizeF size;
    if (profile.KeepRatio && profile.UseWidth && profile.UseHeight) {
        // The width decides unless the height then runs past its own limit; either way the
        // size is the one the profile would give with that side alone.
        size = followingAspect(true, profile.Width, false, 0, picture);
        if (size.height() > profile.Height)
            size = followingAspect(false, 0, true, profile.Height, picture);
    } else {
        size = followingAspect(profile.UseWidth, profile.Width, profile.UseHeight, profile.Height,
                               picture);
    }
    if (profile.NoEnlarge && (size.width() > picture.width() || size.height() > picture.height()))
        size = QSizeF(picture);
    return size;
}

std::optional<QSize> usableSize(QSizeF size, int largestSide)
{
    const auto usable = [largestSide](double side) { return side >= 1.0 && side <= largestSide; };
    if (!usable(size.width()) || !usable(size.height()) ||
        size.width() * size.height() > double(maxPicturePixels))
        return std::nullopt;
    return QSize(int(size.width()), int(size.height()));
}

OutputFailure::Kind unusableSizeReason(QSizeF size)
{
    // Also catches the NaN of a side divided by nothing.
    const bool tooSmall = !(size.width() >= 1.0 && size.height() >= 1.0);
    return tooSmall ? OutputFailure::Kind::TooSmall : OutputFailure::Kind::TooLarge;
}

std::optional<QSize> outputSize(const OutputProfile& profile, QSize picture)
{
    return usableSize(intendedSize(profile, picture), maxJpegSide);
}
