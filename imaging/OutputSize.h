#pragma once

#include "imaging/OutputFailure.h"
#include "settings/ImageSettings.h"

#include <QSize>
#include <QSizeF>

#include <optional>

// The largest side a JPEG file can hold.
constexpr int maxJpegSide = 65500;

// The size the profile asks for from a picture of the given upright size, before any limit,
// as whole pixels that may be below one or beyond what any file holds: a fixed side where the
// profile asks for it, the other one following the picture's aspect; with KeepRatio and both
// sides fixed, the largest size with that aspect inside them; with NoEnlarge, never larger
// than the picture, whose own size is taken instead.
QSizeF intendedSize(const OutputProfile& profile, QSize picture);

// A size that can be made in a format whose largest side is given: none when a side is below
// one pixel or beyond that side, or the whole has more pixels than a picture may have
// (maxPicturePixels), so such an output is never allocated.
std::optional<QSize> usableSize(QSizeF size, int largestSide);

// Why usableSize gives none for a size: TooSmall or TooLarge.
OutputFailure::Kind unusableSizeReason(QSizeF size);

// The JPEG output of the profile: its intended size where a JPEG can be made at it.
std::optional<QSize> outputSize(const OutputProfile& profile, QSize picture);
