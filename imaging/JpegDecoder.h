#pragma once

#include "base/RegularFile.h"
#include "imaging/ColourConversion.h"
#include "imaging/FormatDecoder.h"
#include "imaging/GdImage.h"
#include "imaging/Orientation.h"

#include <QSize>

#include <memory>
#include <optional>

#include <jpeglib.h>

class ColourTransforms;

// One JPEG file on its way into an sRGB GD true-colour image, in steps: the constructor reads
// the header (the size, the colour space, and the APP1 and APP2 markers, where the EXIF
// orientation and a colour profile live); decode() then reads the rows at the smallest size
// that still holds the detail asked for, straight into the image, and converts each row to
// sRGB as it arrives. The picture stays as stored; orientation() says how it stands, and
// sizes asked and told are those of the upright picture. Every failure is quiet and says why.
class JpegDecoder : public FormatDecoder
{
public:
    // Reads the header of the opened file; a colour profile is looked up in transforms,
    // which must outlive the decoder.
    JpegDecoder(FilePtr file, ColourTransforms& transforms);
    ~JpegDecoder();
    JpegDecoder(const JpegDecoder&) = delete;
    JpegDecoder& operator=(const JpegDecoder&) = delete;

    // None as long as every step so far went well.
    DecodeFailure failure() const override { return m_failure; }
    // The upright picture's size as the header gives it, before any reduction; empty when
    // the header could not be read.
    QSize fullSize() const override { return uprightSize(m_storedSize, m_orientation); }
    // How the stored picture is turned to stand upright, as its EXIF data tags it.
    Orientation orientation() const { return m_orientation; }
    // The APP1 and APP2 markers read with the header, in file order; gone once decoding
    // starts.
    jpeg_saved_marker_ptr markers() const;

    // The upright size decode() gives for a wish of needed: the full size reduced by 2, 4 or
    // 8 as long as every side keeps detailMargin (dcOnlyMargin at 8) times what is needed.
    // An empty wish takes the smallest size.
    QSize decodedSize(QSize needed) const override;
    // The picture at decodedSize(needed) alone.
    qint64 pixelsHeld(QSize needed) const override;
    // Decodes the whole picture, as stored, at decodedSize(needed) turned back; null, with
    // failure() telling why, when the data is broken or cut off. Call it once, or decode().
    GdImage decodeStored(QSize needed);
    // decodeStored(), with orientation().
    DecodedPicture decode(QSize needed) override;

    // The first APP1 segment of each kind.
    QByteArray exif() const override { return m_exif; }
    QByteArray xmp() const override { return m_xmp; }

    // The DCT reduction alone blurs and aliases a little; area-averaging the reduced picture
    // once more by at least this much brings the outputs as close to those of the full-size
    // path as measured (a hundredth of a dB in the median, 0.2 dB at worst on photograph-like
    // pictures), where reducing right down to the output's size lost up to 1.6 dB.
    static constexpr double detailMargin = 1.25;
    // Reduced by 8, each pixel is its block's mean alone, with nothing of the detail inside
    // it; an output pixel that takes in parts of such pixels lost up to 1.6 dB on real
    // photographs at 1.25 times, under 1 dB from twice on.
    static constexpr double dcOnlyMargin = 2.0;

private:
    struct Reader;

    int reductionFor(QSize needed) const;

    std::unique_ptr<Reader> m_reader;
    QSize m_storedSize; // as the rows lie in the file
    Orientation m_orientation = Orientation::AsStored;
    std::optional<ColourConversion> m_colours; // none until the header is read
    QByteArray m_exif;
    QByteArray m_xmp;
    DecodeFailure m_failure = DecodeFailure::None;
};
