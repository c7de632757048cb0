#pragma once

#include "imaging/DecodeFailure.h"
#include "imaging/DecodedPicture.h"
#include "imaging/PictureFormat.h"

#include <QSize>
#include <QString>

#include <memory>

class ColourTransforms;
class HeifDecoder;
class JpegDecoder;

// The one way into a picture file for the batch, the preview and the benchmark: the file's
// first bytes tell JPEG from HEIF, never its name. Pictures come out in sRGB, and every size
// here is the upright picture's; outputs scaled from them stand upright. The steps are those
// of JpegDecoder: the constructor reads the header, decode() the pixels at the smallest size
// that keeps the detail asked for (a HEIF picture always whole).
class PictureDecoder
{
public:
    // Opens only a regular file, and never waits in the opening. Colour profiles are looked
    // up in transforms, which must outlive the decoder and may be shared between threads.
    PictureDecoder(const QString& path, ColourTransforms& transforms);
    ~PictureDecoder();
    PictureDecoder(const PictureDecoder&) = delete;
    PictureDecoder& operator=(const PictureDecoder&) = delete;

    // None as long as every step so far went well.
    DecodeFailure failure() const;
    // What the file's content is.
    PictureFormat format() const { return m_format; }
    // The upright picture's size before any reduction; empty when unreadable.
    QSize fullSize() const;
    // The upright size decode(needed) gives.
    QSize decodedSize(QSize needed) const;
    // The most pixels decode(needed) holds at once, counted as GD pixels.
    qint64 pixelsHeld(QSize needed) const;
    // The sRGB picture at decodedSize(needed); empty, with failure() telling why, when it
    // cannot be read. Call it once.
    DecodedPicture decode(QSize needed);

private:
    PictureFormat m_format = PictureFormat::Other;
    DecodeFailure m_failure = DecodeFailure::None; // before a format decoder takes over
    std::unique_ptr<JpegDecoder> m_jpeg;
    std::unique_ptr<HeifDecoder> m_heif;
};
