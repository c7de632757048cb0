#pragma once

#include "imaging/PictureEncoder.h"

// JPEG through libjpeg-turbo, with the quantisation and sampling GD chooses for a quality, so
// the pixels are exactly those GD's encoder gives; the Huffman tables are optimised for each
// picture, which only makes the file smaller.
class JpegEncoder : public PictureEncoder
{
public:
    QByteArray encode(const gdImage& picture, const EncodeOptions& options) const override;
    QLatin1StringView suffix() const override { return QLatin1StringView(".jpg"); }
    QLatin1StringView mediaType() const override { return QLatin1StringView("image/jpeg"); }
    int largestSide() const override;
};
