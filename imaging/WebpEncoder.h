#pragma once

#include "imaging/PictureEncoder.h"

// Lossy WebP through libwebp at the profile's quality, with its sharp RGB-to-YUV conversion:
// the plain one smears saturated edges, red ones most, over the neighbouring pixels.
class WebpEncoder : public PictureEncoder
{
public:
    QByteArray encode(const gdImage& picture, const EncodeOptions& options) const override;
    QLatin1StringView suffix() const override { return QLatin1StringView(".webp"); }
    QLatin1StringView mediaType() const override { return QLatin1StringView("image/webp"); }
    int largestSide() const override;
};
