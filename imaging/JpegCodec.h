#pragma once

#include "imaging/GdImage.h"

#include <QString>

// Moves pictures between JPEG files and GD images, always through one memory buffer.
// Both fail quietly, leave nothing open or allocated, and may run on several threads at
// once as long as each works on its own file and image.

// The decoded picture, or null when the file cannot be read or is not a JPEG.
GdImage LoadJpegFile(const QString& path);

// Creates or truncates the file first, then encodes; the caller keeps the image. True when
// the whole encoded picture reached the file.
bool SaveJpegFile(const QString& path, gdImagePtr image, int quality);
