#pragma once

#include "imaging/GdImage.h"

#include <span>

// One row of a GD true-colour picture as red, green and blue bytes, three per pixel, as the
// encoders take them; GD's alpha is left out, as outputs are opaque.
void copyRgbRow(const gdImage& picture, int y, std::span<unsigned char> rgb);
