#pragma once

#include "imaging/OutputFailure.h"
#include "settings/ImageSettings.h"

#include <QSize>

#include <optional>

// The largest side a JPEG file can hold.
constexpr int maxJpegSide = 65500;

// The size of one output scaled from a source of the given size: a fixed side where the
// profile asks for it, the other one following the source's aspect. None when a side comes
// out below one pixel or above what a JPEG holds, or the whole has more pixels than a picture
// may have (maxPicturePixels): such an output is never allocated.
std::optional<QSize> outputSize(const OutputProfile& profile, QSize source);

// Why outputSize gives none: TooSmall or TooLarge.
OutputFailure::Kind outputSizeFailure(const OutputProfile& profile, QSize source);
