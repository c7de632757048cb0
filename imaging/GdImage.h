#pragma once

#include <gd.h>

#include <memory>

struct GdImageDeleter
{
    void operator()(gdImagePtr image) const { gdImageDestroy(image); }
};

// A decoded or scaled picture, released with GD's own destroy call.
using GdImage = std::unique_ptr<gdImage, GdImageDeleter>;

// A new true-colour picture of that size, empty when GD cannot make one.
GdImage newTrueColorImage(int width, int height);
