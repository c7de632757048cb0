#pragma once

#include "imaging/GdImage.h"
#include "settings/ImageSettings.h"

#include <QByteArray>
#include <QSize>

#include <vector>

// What the picture path is measured against, shared by the benchmark and the quality test:
// photograph-like pictures, the sequential full-size GD path, and the ideal output.
namespace PictureReference {

// A deterministic stand-in for a photograph: soft gradients, fine texture, objects with hard
// edges and sensor-like grain, so decoder, scaler and encoder have as much to do as with a
// real one.
GdImage drawPhoto(QSize size, unsigned seed);

// GD's own full-size decoding of JPEG data, as the sequential path reads a picture.
GdImage decodeFullSize(const QByteArray& jpeg);

// A JPEG, WebP or AVIF file decoded to sRGB pixels by its format's own library (GD, libwebp,
// libavif), told apart by content; null when it cannot be decoded.
GdImage decodeOutput(const QByteArray& file);

// What the sequential path writes for one output of a full-size picture: the whole picture
// scaled with gdImageCopyResampled, encoded by GD at the profile's quality.
QByteArray sequentialOutput(gdImagePtr fullSize, const OutputProfile& profile);

// The exact area average of a picture at a size, unrounded: red, green and blue per pixel.
struct IdealPicture
{
    QSize size;
    std::vector<double> channels;
};
IdealPicture idealAverage(gdImagePtr fullSize, QSize size);

// The peak signal-to-noise ratio of a picture against the ideal, in dB; 0 when it is null or
// its size differs.
double psnr(const gdImage* picture, const IdealPicture& ideal);
// The same for an output file (decodeOutput).
double psnr(const QByteArray& file, const IdealPicture& ideal);

} // namespace PictureReference
