#pragma once

#include "imaging/DecodeFailure.h"
#include "imaging/DecodedPicture.h"

#include <QByteArray>
#include <QSize>

// One file format's way into an upright sRGB picture, in steps: the decoder's constructor
// reads the header, decode() the pixels. Every size here is the upright picture's. Every
// failure is quiet and says why.
class FormatDecoder
{
public:
    virtual ~FormatDecoder() = default;

    // None as long as every step so far went well.
    virtual DecodeFailure failure() const = 0;
    // The upright picture's size before any reduction; empty when unreadable.
    virtual QSize fullSize() const = 0;
    // The upright size decode(needed) gives: the smallest the format can decode that keeps
    // the detail of needed, or the full size where it can decode nothing smaller.
    virtual QSize decodedSize(QSize needed) const = 0;
    // The most pixels decode(needed) holds at once, counted as GD pixels.
    virtual qint64 pixelsHeld(QSize needed) const = 0;
    // The picture at decodedSize(needed); empty, with failure() telling why, when it cannot be
    // read. Call it once.
    virtual DecodedPicture decode(QSize needed) = 0;

    // The picture's EXIF block as a JPEG's APP1 segment carries it ("Exif\0\0" and the TIFF
    // structure), read with the header; empty when it has none.
    virtual QByteArray exif() const = 0;
    // The picture's XMP packet, without the namespace line a JPEG segment starts with; empty
    // when it has none.
    virtual QByteArray xmp() const = 0;
};
