#pragma once

#include "imaging/GdImage.h"
#include "imaging/OutputFormat.h"

#include <QByteArray>
#include <QLatin1StringView>

// How one output is encoded.
struct EncodeOptions
{
    // The profile's quality on JPEG's scale (the slider's 20 to 100); each format maps it to
    // its own.
    int quality = 75;
    // JPEG only: the picture arrives coarse first, then sharpens.
    bool progressive = false;
    // An EXIF block as a JPEG's APP1 segment carries it (from "Exif\0\0"), embedded as the
    // format keeps EXIF; none when empty.
    QByteArray exif = {};
};

// Writes a GD true-colour picture in one file format. Encoders hold no state: one encoder
// may encode on several threads at once, each with its own picture.
class PictureEncoder
{
public:
    virtual ~PictureEncoder() = default;

    // The picture in this format; empty when it cannot be encoded (a side beyond
    // largestSide(), memory). The caller keeps the picture.
    virtual QByteArray encode(const gdImage& picture, const EncodeOptions& options) const = 0;
    // What ends a file name of this format: ".jpg".
    virtual QLatin1StringView suffix() const = 0;
    // The media type a browser is told: "image/jpeg".
    virtual QLatin1StringView mediaType() const = 0;
    // The longest side, in pixels, a file of this format holds.
    virtual int largestSide() const = 0;
};

// The encoder of a format; it lives as long as the program.
const PictureEncoder& pictureEncoder(OutputFormat format);
