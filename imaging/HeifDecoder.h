#pragma once

#include "imaging/ColourTransforms.h"
#include "imaging/GdImage.h"

#include <QByteArrayView>

// A HEIF picture (HEIC from a phone) decoded by GD, upright and in sRGB: libheif turns the
// picture as its container says while decoding, so the EXIF orientation inside must never
// be applied on top, and an embedded ICC profile goes through the run's transforms. Null
// when the bytes are not a HEIF picture GD can decode.
GdImage decodeHeif(QByteArrayView bytes, ColourTransforms& transforms);
