#pragma once

#include "imaging/GdImage.h"

#include <QByteArray>
#include <QString>

// Encoding GD images as JPEG. Decoding is PictureDecoder's. Both may run on several threads at
// once as long as each works on its own image and file.

// The image encoded as GD would at the quality, pixel for pixel, with Huffman tables made for
// it, which only makes the file smaller (JpegEncoder); empty when it cannot be encoded. The
// caller keeps the image.
QByteArray EncodeJpeg(gdImagePtr image, int quality);

// Encodes, then replaces the file with the whole encoded picture (see replaceFile); an
// earlier file of that name stays as it was when encoding or writing fails. True when the
// picture is in place.
bool SaveJpegFile(const QString& path, gdImagePtr image, int quality);
