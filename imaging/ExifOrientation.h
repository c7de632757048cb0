#pragma once

#include "imaging/Orientation.h"

#include <cstdio> // jpeglib.h needs FILE declared first
#include <jpeglib.h>

#include <span>

// The orientation a camera tagged in an APP1 EXIF block (the segment's payload, starting
// with "Exif"). Anything else, a damaged block, a missing tag or a value outside 1..8 gives
// AsStored: a picture is never turned on a guess.
Orientation exifOrientation(std::span<const unsigned char> app1Payload);

// The same for the first EXIF block among the markers a decoder kept with jpeg_save_markers
// (APP1 must be among them).
Orientation exifOrientation(jpeg_saved_marker_ptr markers);
