#include "imaging/MatrixShaper.h"

#include "imaging/LcmsHandles.h"

#include <gd.h>

#include <algorithm>
#include <cmath>

namespace {

// Linear light from black to white is counted in this many steps: fine enough that near
// black, where sRGB's curve is steepest, a step moves less than a quarter level.
constexpr int encodeSteps = 16384;

using Matrix = std::array<double, 9>;

bool hasLookupTables(cmsHPROFILE profile)
{
    for (cmsTagSignature tag : {cmsSigAToB0Tag, cmsSigAToB1Tag, cmsSigAToB2Tag, cmsSigDToB0Tag,
                                cmsSigDToB1Tag, cmsSigDToB2Tag})
        if (cmsIsTag(profile, tag))
            return true;
    return false;
}

// The colorants as columns: linear RGB to the profile connection space.
bool colorants(cmsHPROFILE profile, Matrix& matrix)
{
    const cmsTagSignature tags[] = {cmsSigRedColorantTag, cmsSigGreenColorantTag,
                                    cmsSigBlueColorantTag};
    for (int column = 0; column < 3; ++column) {
        const auto* xyz = static_cast<const cmsCIEXYZ*>(cmsReadTag(profile, tags[column]));
        if (!xyz)
            return false;
        matrix[column] = xyz->X;
        matrix[3 + column] = xyz->Y;
        matrix[6 + column] = xyz->Z;
    }
    return true;
}

bool invert(const Matrix& m, Matrix& inverse)
{
    const double det = m[0] * (m[4] * m[8] - m[5] * m[7]) - m[1] * (m[3] * m[8] - m[5] * m[6]) +
                       m[2] * (m[3] * m[7] - m[4] * m[6]);
    if (std::fabs(det) < 1e-9)
        return false;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            const int r0 = (column + 1) % 3, r1 = (column + 2) % 3;
            const int c0 = (row + 1) % 3, c1 = (row + 2) % 3;
            inverse[3 * row + column] =
                (m[3 * r0 + c0] * m[3 * r1 + c1] - m[3 * r0 + c1] * m[3 * r1 + c0]) / det;
        }
    return true;
}

// Colorants far beyond any camera's would need a table of linear light too long to keep.
constexpr double largestCoefficient = 16;

} // namespace

std::unique_ptr<const MatrixShaper> MatrixShaper::fromProfile(cmsHPROFILE profile)
{
    if (cmsGetColorSpace(profile) != cmsSigRgbData || !cmsIsMatrixShaper(profile) ||
        hasLookupTables(profile))
        return nullptr;
    const Profile srgb(cmsCreate_sRGBProfile());
    Matrix source;
    Matrix target;
    Matrix toSrgb;
    if (!srgb || !colorants(profile, source) || !colorants(srgb.get(), target) ||
        !invert(target, toSrgb))
        return nullptr;
    const auto* srgbCurve =
        static_cast<const cmsToneCurve*>(cmsReadTag(srgb.get(), cmsSigRedTRCTag));
    const ToneCurve toLevels(srgbCurve ? cmsReverseToneCurve(srgbCurve) : nullptr);
    if (!toLevels)
        return nullptr;

    std::array<std::array<double, 256>, 3> linear;
    const cmsTagSignature curves[] = {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag};
    for (int channel = 0; channel < 3; ++channel) {
        const auto* curve = static_cast<const cmsToneCurve*>(cmsReadTag(profile, curves[channel]));
        if (!curve)
            return nullptr;
        for (int level = 0; level < 256; ++level)
            linear[channel][level] =
                std::clamp(double(cmsEvalToneCurveFloat(curve, float(level) / 255)), 0.0, 1.0);
    }
    Matrix matrix;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            double sum = 0;
            for (int k = 0; k < 3; ++k)
                sum += toSrgb[3 * row + k] * source[3 * k + column];
            matrix[3 * row + column] = sum;
        }
    std::unique_ptr<MatrixShaper> shaper(new MatrixShaper);
    if (!shaper->tabulate(matrix, linear))
        return nullptr;
    // Every sum the tables can give has its level, those outside the gamut the nearest one.
    for (int32_t step = 0; step < int32_t(shaper->m_encode.size()); ++step) {
        const float light =
            std::clamp(float(step + shaper->m_lowest) / (encodeSteps - 1), 0.0f, 1.0f);
        const float level = cmsEvalToneCurveFloat(toLevels.get(), light);
        shaper->m_encode[step] = (unsigned char)std::lround(std::clamp(level, 0.0f, 1.0f) * 255);
    }
    return shaper;
}

bool MatrixShaper::tabulate(const Matrix& matrix,
                            const std::array<std::array<double, 256>, 3>& linear)
{
    int32_t lowest = 0;
    int32_t highest = 0;
    for (int row = 0; row < 3; ++row) {
        int32_t least = 0;
        int32_t most = 0;
        for (int column = 0; column < 3; ++column) {
            const double coefficient = matrix[3 * row + column];
            if (!(std::fabs(coefficient) <= largestCoefficient)) // NaN too
                return false;
            std::array<int32_t, 256>& adds = m_adds[3 * row + column];
            for (int level = 0; level < 256; ++level)
                adds[level] =
                    int32_t(std::lround(coefficient * linear[column][level] * (encodeSteps - 1)));
            const auto [smallest, largest] = std::minmax_element(adds.begin(), adds.end());
            least += *smallest;
            most += *largest;
        }
        lowest = std::min(lowest, least);
        highest = std::max(highest, most);
    }
    m_lowest = lowest;
    m_encode.resize(std::size_t(highest - lowest) + 1);
    return true;
}

void MatrixShaper::convertRow(const unsigned char* source, int* target, int width) const
{
    const unsigned char* encode = m_encode.data() - m_lowest;
    const auto& a = m_adds;
    for (int index = 0; index < width; ++index) {
        const unsigned char* bgrx = source + 4 * index;
        const int red = bgrx[2];
        const int green = bgrx[1];
        const int blue = bgrx[0];
        target[index] = gdTrueColor(encode[a[0][red] + a[1][green] + a[2][blue]],
                                    encode[a[3][red] + a[4][green] + a[5][blue]],
                                    encode[a[6][red] + a[7][green] + a[8][blue]]);
    }
}
