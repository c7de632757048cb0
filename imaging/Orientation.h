#pragma once

#include "imaging/GdImage.h"

#include <QSize>

// How a picture's stored pixels are turned to stand upright, numbered as cameras tag it.
enum class Orientation
{
    AsStored = 1,
    FlipHorizontal = 2,
    Rotate180 = 3,
    FlipVertical = 4,
    Transpose = 5,
    Rotate90Clockwise = 6,
    Transverse = 7,
    Rotate90CounterClockwise = 8,
};

// The size the picture has once upright: the sides swap for the quarter turns.
QSize uprightSize(QSize stored, Orientation orientation);

// The picture turned upright. The half turns and flips work in place on the same image;
// the quarter turns need a new one, and give null when it cannot be allocated.
GdImage turnUpright(GdImage stored, Orientation orientation);
