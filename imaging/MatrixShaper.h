#pragma once

#include <lcms2.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// The conversion of a matrix-shaper RGB profile (Display P3, Adobe RGB and most camera
// profiles) to sRGB, worked out once into tables: how much each channel's level adds, in
// linear light, to each sRGB channel (the tone curve and the 3x3 matrix onto sRGB's
// primaries in one), and linear light back to sRGB levels. A pixel then costs nine lookups,
// six additions and three lookups more, and gives what Little CMS gives for these profiles
// within a level, at several times its speed, which keeps phone pictures within the run's
// budget.
class MatrixShaper
{
public:
    // Null unless the profile is an RGB profile made of colorants and tone curves alone;
    // one with lookup tables, or with a matrix too wild to tabulate, is left to Little CMS.
    static std::unique_ptr<const MatrixShaper> fromProfile(cmsHPROFILE profile);

    // One row of width BGRX pixels into opaque GD pixels; source and target may be the
    // same row.
    void convertRow(const unsigned char* source, int* target, int width) const;

private:
    MatrixShaper() = default;
    bool tabulate(const std::array<double, 9>& matrix,
                  const std::array<std::array<double, 256>, 3>& linear);

    // [sRGB channel * 3 + source channel][level]: the linear light it adds, in steps.
    std::array<std::array<int32_t, 256>, 9> m_adds{};
    std::vector<unsigned char> m_encode; // sRGB level per step of linear light, from m_lowest
    int32_t m_lowest = 0;
};
