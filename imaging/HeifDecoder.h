#pragma once

#include "imaging/DecodeFailure.h"
#include "imaging/GdImage.h"
#include "imaging/PictureFile.h"

#include <QSize>

#include <memory>

class ColourTransforms;

// A HEIF file (HEIC from a phone) on its way into an upright sRGB GD true-colour image. The
// constructor reads the container, which tells the picture's size; decode() then decodes the
// whole picture, as HEVC has no reduced decoding. The container says how the picture is
// turned and mirrored, and libheif applies that while decoding, so the EXIF orientation
// inside is never applied on top; an embedded ICC profile goes through the run's transforms.
class HeifDecoder
{
public:
    // Reads the container of the opened file; transforms must outlive the decoder.
    HeifDecoder(FilePtr file, ColourTransforms& transforms);
    ~HeifDecoder();
    HeifDecoder(const HeifDecoder&) = delete;
    HeifDecoder& operator=(const HeifDecoder&) = delete;

    DecodeFailure failure() const { return m_failure; }
    // The upright picture's size as the container gives it; empty when it could not be read.
    QSize fullSize() const { return m_fullSize; }
    // The most pixels decode() holds at once, counted as GD pixels: libheif's own planes of
    // the picture sit beside the GD image while it is filled.
    qint64 pixelsHeld() const;
    // The whole picture; null, with failure() telling why, when it cannot be decoded. Call it
    // once.
    GdImage decode();

private:
    struct Container;

    std::unique_ptr<Container> m_container;
    ColourTransforms& m_transforms;
    QSize m_fullSize;
    DecodeFailure m_failure = DecodeFailure::None;
};
