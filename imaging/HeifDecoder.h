#pragma once

#include "base/RegularFile.h"
#include "imaging/FormatDecoder.h"
#include "imaging/GdImage.h"

#include <QSize>

#include <memory>

class ColourTransforms;

// HEVC has no reduced decoding, so a HEIF picture is held whole, at about seven bytes a pixel
// while it becomes a GD image: far more than a JPEG, which is decoded at the size the outputs
// need. A phone's largest pictures (48 megapixels) pass; a file claiming more, however small,
// is refused before any pixel is decoded, which keeps a run within 400 MB.
constexpr qint64 maxHeifPixels = 50'000'000;

// A HEIF file (HEIC from a phone) on its way into an upright sRGB GD true-colour image. The
// constructor reads the container, which tells the picture's size; decode() then decodes the
// whole picture, as HEVC has no reduced decoding. The container says how the picture is
// turned and mirrored, and libheif applies that while decoding, so the EXIF orientation
// inside is never applied on top; an embedded ICC profile goes through the run's transforms.
class HeifDecoder : public FormatDecoder
{
public:
    // Reads the container of the opened file; transforms must outlive the decoder.
    HeifDecoder(FilePtr file, ColourTransforms& transforms);
    ~HeifDecoder();
    HeifDecoder(const HeifDecoder&) = delete;
    HeifDecoder& operator=(const HeifDecoder&) = delete;

    DecodeFailure failure() const override { return m_failure; }
    // The upright picture's size as the container gives it; empty when it could not be read.
    QSize fullSize() const override { return m_fullSize; }
    // Always the full size.
    QSize decodedSize(QSize needed) const override;
    // libheif's own planes of the picture sit beside the GD image while it is filled.
    qint64 pixelsHeld(QSize needed) const override;
    // The whole picture, whatever is needed.
    DecodedPicture decode(QSize needed) override;
    QByteArray exif() const override;
    QByteArray xmp() const override;

private:
    GdImage decodeUpright();

    struct Container;

    std::unique_ptr<Container> m_container;
    ColourTransforms& m_transforms;
    QSize m_fullSize;
    QSize m_codedSize; // before the container's cut and turn
    DecodeFailure m_failure = DecodeFailure::None;
};
