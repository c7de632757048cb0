#pragma once

#include "imaging/PictureEncoder.h"

#include <avif/avif.h>

// AVIF through libavif: 8 bits, full range, signalled as sRGB (BT.709 primaries and matrix,
// the sRGB transfer curve), so browsers show the colours the JPEG shows.
class AvifEncoder : public PictureEncoder
{
public:
    // Which AV1 encoder libavif drives, and how hard it tries.
    struct Tuning
    {
        avifCodecChoice codec;
        int speed;
    };
    // How finely one picture is encoded: the AV1 quantizer (0 finest to 63 coarsest) and
    // whether the colour keeps every pixel (4:4:4) or one per two by two (4:2:0).
    struct Level
    {
        int quantizer;
        bool fullChroma;
    };

    // The encoder and speed measured best; see the source.
    AvifEncoder();
    explicit AvifEncoder(Tuning tuning) : m_tuning(tuning) {}

    QByteArray encode(const gdImage& picture, const EncodeOptions& options) const override;
    QLatin1StringView suffix() const override { return QLatin1StringView(".avif"); }
    QLatin1StringView mediaType() const override { return QLatin1StringView("image/avif"); }
    int largestSide() const override;

    // The picture at a level; the block is an EXIF block as EncodeOptions takes it.
    QByteArray encodeAt(const gdImage& picture, Level level, const QByteArray& exif) const;

    // The level for a profile's JPEG quality: an AVIF smaller than GD's JPEG at that quality,
    // and no further from the ideal picture.
    static Level levelFor(int jpegQuality);

private:
    Tuning m_tuning;
};
