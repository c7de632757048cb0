#pragma once

#include "imaging/GdImage.h"

#include <QSize>

// The picture scaled to the given size by an exact area average: every output pixel is the
// mean of the part of the source it covers, with pixels that lie only partly inside weighted
// by their share, and rounded once at the end. That is the result gdImageCopyResampled
// approximates, at a fraction of its cost. Null when the size is empty or the output cannot
// be allocated.
GdImage ScalePicture(gdImagePtr source, QSize size);
