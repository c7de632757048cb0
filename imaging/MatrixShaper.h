#pragma once

#include <lcms2.h>

#include <array>
#include <memory>
#include <vector>

// The conversion of a matrix-shaper RGB profile (Display P3, Adobe RGB and most camera
// profiles) to sRGB, worked out once into tables: each channel's level to linear light,
// one 3x3 matrix onto sRGB's primaries, and linear light back to sRGB levels. It gives what
// Little CMS gives for these profiles at several times its speed, which keeps phone
// pictures within the run's budget.
class MatrixShaper
{
public:
    // Null unless the profile is an RGB profile made of colorants and tone curves alone;
    // one with lookup tables is left to Little CMS.
    static std::unique_ptr<const MatrixShaper> fromProfile(cmsHPROFILE profile);

    // One row of width BGRX pixels into opaque GD pixels; source and target may be the
    // same row.
    void convertRow(const unsigned char* source, int* target, int width) const;

private:
    MatrixShaper() = default;

    std::array<std::array<float, 256>, 3> m_linear{}; // red, green, blue
    std::array<float, 9> m_matrix{};                  // rows: sRGB red, green, blue
    std::vector<unsigned char> m_encode;
};
