#pragma once

#include "imaging/ColourTransforms.h"
#include "imaging/GdImage.h"

#include <QByteArrayView>

// A HEIF picture (HEIC from a phone) decoded upright and in sRGB. The container says how
// the picture is turned and mirrored, and libheif applies that while decoding, so the EXIF
// orientation inside must never be applied on top; an embedded ICC profile goes through
// the run's transforms. Null when the bytes are not a HEIF picture libheif can decode.
GdImage decodeHeif(QByteArrayView bytes, ColourTransforms& transforms);
