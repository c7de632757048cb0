#pragma once

#include "imaging/MatrixShaper.h"

#include <QByteArrayView>

#include <lcms2.h>

#include <array>
#include <memory>

// What a JPEG's rows hold when they reach colour management: libjpeg-turbo hands colour and
// grayscale pictures over as BGRX rows (GD's true-colour layout in memory: blue, green, red,
// then GD's alpha byte), CMYK pictures as four bytes of ink per pixel. Editing software
// that writes an Adobe marker stores the inks inverted (255 for no ink).
enum class SourcePixels
{
    Colour,
    Gray,
    Cmyk,
    InvertedCmyk
};

inline bool isCmyk(SourcePixels pixels)
{
    return pixels == SourcePixels::Cmyk || pixels == SourcePixels::InvertedCmyk;
}

// One embedded ICC profile made ready to turn a picture's rows into sRGB. Built once per
// distinct profile and shared: converting keeps no state, so any number of threads may
// convert rows through one transform at the same time.
class ColourTransform
{
public:
    // Null when the profile is damaged, describes other pixels than these (a CMYK profile
    // in a colour picture), or leaves every colour within one level of where it is: such
    // pictures are taken as sRGB and cost nothing.
    static std::unique_ptr<const ColourTransform> create(QByteArrayView profile,
                                                         SourcePixels pixels);
    ColourTransform(const ColourTransform&) = delete;
    ColourTransform& operator=(const ColourTransform&) = delete;

    // Converts one row of width pixels into opaque sRGB pixels in GD's true-colour layout.
    // For Colour and Gray rows, source and target may be the same row.
    void convertRow(const unsigned char* source, int* target, int width) const;

private:
    struct TransformDeleter
    {
        void operator()(void* transform) const { cmsDeleteTransform(transform); }
    };

    ColourTransform() = default;
    bool leavesColoursAlone() const;

    // Matrix-shaper colour profiles go through our own tables, other colour and CMYK
    // profiles through Little CMS; a gray profile only changes the tone, so its 256 levels
    // are looked up and the picture stays exactly gray.
    std::unique_ptr<const MatrixShaper> m_shaper;
    std::unique_ptr<void, TransformDeleter> m_transform;
    std::array<unsigned char, 256> m_grayLevels{};
};
