#pragma once

#include "imaging/FormatDecoder.h"
#include "imaging/PictureFormat.h"

#include <QString>

#include <memory>

class ColourTransforms;

// The one way into a picture file for the batch, the preview and the benchmark: the file's
// first bytes tell its format, never its name, and pick the decoder of that format. Pictures
// come out in sRGB, and every size here is the upright picture's; outputs scaled from them
// stand upright. The constructor reads the header, decode() the pixels at the smallest size
// that keeps the detail asked for (a HEIF picture always whole).
class PictureDecoder : public FormatDecoder
{
public:
    // Opens only a regular file, and never waits in the opening. Colour profiles are looked
    // up in transforms, which must outlive the decoder and may be shared between threads.
    PictureDecoder(const QString& path, ColourTransforms& transforms);
    ~PictureDecoder() override;
    PictureDecoder(const PictureDecoder&) = delete;
    PictureDecoder& operator=(const PictureDecoder&) = delete;

    // What the file's content is.
    PictureFormat format() const { return m_format; }

    DecodeFailure failure() const override;
    QSize fullSize() const override;
    QSize decodedSize(QSize needed) const override;
    qint64 pixelsHeld(QSize needed) const override;
    DecodedPicture decode(QSize needed) override;
    QByteArray exif() const override;
    QByteArray xmp() const override;

private:
    PictureFormat m_format = PictureFormat::Other;
    DecodeFailure m_failure = DecodeFailure::None; // before a format's decoder takes over
    std::unique_ptr<FormatDecoder> m_decoder;      // none for a file of no known format
};
