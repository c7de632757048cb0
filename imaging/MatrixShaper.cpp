#include "imaging/MatrixShaper.h"

#include <gd.h>

#include <algorithm>
#include <cmath>

namespace {

// Linear light is looked up in this many steps on its way back to levels: fine enough
// that near black, where sRGB's curve is steepest, a step moves less than a quarter level.
constexpr int encodeSteps = 16384;

using Matrix = std::array<double, 9>;

struct ToneCurveDeleter
{
    void operator()(cmsToneCurve* curve) const { cmsFreeToneCurve(curve); }
};

struct ProfileCloser
{
    void operator()(void* profile) const { cmsCloseProfile(profile); }
};

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

int encoded(const std::vector<unsigned char>& table, float linear)
{
    return table[std::size_t(std::clamp(linear, 0.0f, 1.0f) * (encodeSteps - 1) + 0.5f)];
}

} // namespace

std::unique_ptr<const MatrixShaper> MatrixShaper::fromProfile(cmsHPROFILE profile)
{
    if (cmsGetColorSpace(profile) != cmsSigRgbData || !cmsIsMatrixShaper(profile) ||
        hasLookupTables(profile))
        return nullptr;
    const std::unique_ptr<void, ProfileCloser> srgb(cmsCreate_sRGBProfile());
    Matrix source;
    Matrix target;
    Matrix toSrgb;
    if (!srgb || !colorants(profile, source) || !colorants(srgb.get(), target) ||
        !invert(target, toSrgb))
        return nullptr;
    const auto* srgbCurve = static_cast<const cmsToneCurve*>(cmsReadTag(srgb.get(), cmsSigRedTRCTag));
    const std::unique_ptr<cmsToneCurve, ToneCurveDeleter> toLevels(
        srgbCurve ? cmsReverseToneCurve(srgbCurve) : nullptr);
    if (!toLevels)
        return nullptr;

    std::unique_ptr<MatrixShaper> shaper(new MatrixShaper);
    const cmsTagSignature curves[] = {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag};
    for (int channel = 0; channel < 3; ++channel) {
        const auto* curve = static_cast<const cmsToneCurve*>(cmsReadTag(profile, curves[channel]));
        if (!curve)
            return nullptr;
        for (int level = 0; level < 256; ++level)
            shaper->m_linear[channel][level] = cmsEvalToneCurveFloat(curve, float(level) / 255);
    }
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            double sum = 0;
            for (int k = 0; k < 3; ++k)
                sum += toSrgb[3 * row + k] * source[3 * k + column];
            shaper->m_matrix[3 * row + column] = float(sum);
        }
    shaper->m_encode.resize(encodeSteps);
    for (int step = 0; step < encodeSteps; ++step) {
        const float level = cmsEvalToneCurveFloat(toLevels.get(), float(step) / (encodeSteps - 1));
        shaper->m_encode[step] = (unsigned char)std::lround(std::clamp(level, 0.0f, 1.0f) * 255);
    }
    return shaper;
}

void MatrixShaper::convertRow(const unsigned char* source, int* target, int width) const
{
    const std::array<float, 9>& m = m_matrix;
    for (int index = 0; index < width; ++index) {
        const unsigned char* bgrx = source + 4 * index;
        const float red = m_linear[0][bgrx[2]];
        const float green = m_linear[1][bgrx[1]];
        const float blue = m_linear[2][bgrx[0]];
        target[index] = gdTrueColor(encoded(m_encode, m[0] * red + m[1] * green + m[2] * blue),
                                    encoded(m_encode, m[3] * red + m[4] * green + m[5] * blue),
                                    encoded(m_encode, m[6] * red + m[7] * green + m[8] * blue));
    }
}
