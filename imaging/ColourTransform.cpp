#include "imaging/ColourTransform.h"

#include "imaging/LcmsHandles.h"

#include <gd.h>

#include <bit>
#include <cstdlib>
#include <vector>

// Little CMS reads and writes GD's pixels as bytes: blue, green, red, alpha.
static_assert(std::endian::native == std::endian::little);

namespace {

cmsColorSpaceSignature colourSpaceOf(SourcePixels pixels)
{
    switch (pixels) {
    case SourcePixels::Colour:
        return cmsSigRgbData;
    case SourcePixels::Gray:
        return cmsSigGrayData;
    case SourcePixels::Cmyk:
    case SourcePixels::InvertedCmyk:
        break;
    }
    return cmsSigCmykData;
}

cmsUInt32Number formatOf(SourcePixels pixels)
{
    switch (pixels) {
    case SourcePixels::Colour:
        return TYPE_BGRA_8;
    case SourcePixels::Gray:
        return TYPE_GRAY_8;
    case SourcePixels::Cmyk:
        return TYPE_CMYK_8;
    case SourcePixels::InvertedCmyk:
        break;
    }
    return TYPE_CMYK_8_REV;
}

// Device links, abstract and named-colour profiles do not say what a picture's pixels mean.
bool describesPictures(cmsHPROFILE profile)
{
    switch (cmsGetDeviceClass(profile)) {
    case cmsSigInputClass:
    case cmsSigDisplayClass:
    case cmsSigOutputClass:
    case cmsSigColorSpaceClass:
        return true;
    default:
        return false;
    }
}

Profile openProfile(QByteArrayView bytes, SourcePixels pixels)
{
    if (bytes.isEmpty())
        return nullptr;
    Profile profile(cmsOpenProfileFromMem(bytes.data(), cmsUInt32Number(bytes.size())));
    if (!profile || !describesPictures(profile.get()) ||
        cmsGetColorSpace(profile.get()) != colourSpaceOf(pixels))
        return nullptr;
    return profile;
}

// sRGB's tone curve: the gray a browser shows for a level of an untagged picture.
Profile graySrgbProfile()
{
    const cmsFloat64Number srgb[] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    const ToneCurve curve(cmsBuildParametricToneCurve(nullptr, 4, srgb));
    return Profile(curve ? cmsCreateGrayProfile(cmsD50_xyY(), curve.get()) : nullptr);
}

// Every level of a 17-step grid over the colour cube, as BGRA pixels.
std::vector<unsigned char> colourSamples()
{
    std::vector<unsigned char> samples;
    for (int red = 0; red <= 256; red += 16)
        for (int green = 0; green <= 256; green += 16)
            for (int blue = 0; blue <= 256; blue += 16)
                for (int level : {blue, green, red, 0})
                    samples.push_back(std::min(level, 255));
    return samples;
}

bool withinOneLevel(const unsigned char* a, const unsigned char* b, std::size_t count)
{
    for (std::size_t index = 0; index < count; ++index)
        if (std::abs(a[index] - b[index]) > 1)
            return false;
    return true;
}

} // namespace

std::unique_ptr<const ColourTransform> ColourTransform::create(QByteArrayView profile,
                                                               SourcePixels pixels)
{
    const Profile source = openProfile(profile, pixels);
    if (!source)
        return nullptr;
    std::unique_ptr<ColourTransform> transform(new ColourTransform);
    // Without the one-pixel cache the transform keeps no state between calls, which is
    // what lets render threads share it.
    const cmsUInt32Number flags = cmsFLAGS_NOCACHE;
    if (pixels == SourcePixels::Gray) {
        const Profile target = graySrgbProfile();
        const std::unique_ptr<void, TransformDeleter> levels(
            target ? cmsCreateTransform(source.get(), TYPE_GRAY_8, target.get(), TYPE_GRAY_8,
                                        INTENT_PERCEPTUAL, flags)
                   : nullptr);
        if (!levels)
            return nullptr;
        std::array<unsigned char, 256> identity;
        for (int level = 0; level < 256; ++level)
            identity[level] = (unsigned char)level;
        cmsDoTransform(levels.get(), identity.data(), transform->m_grayLevels.data(), 256);
        if (withinOneLevel(identity.data(), transform->m_grayLevels.data(), identity.size()))
            return nullptr;
        return transform;
    }
    if (pixels == SourcePixels::Colour)
        transform->m_shaper = MatrixShaper::fromProfile(source.get());
    if (!transform->m_shaper) {
        const Profile target(cmsCreate_sRGBProfile());
        transform->m_transform.reset(target ? cmsCreateTransform(source.get(), formatOf(pixels),
                                                                 target.get(), TYPE_BGRA_8,
                                                                 INTENT_PERCEPTUAL, flags)
                                            : nullptr);
        if (!transform->m_transform)
            return nullptr;
    }
    // Many cameras embed sRGB itself, or a profile that differs from it only in its
    // rounding: such pictures are left as they are.
    if (pixels == SourcePixels::Colour && transform->leavesColoursAlone())
        return nullptr;
    return transform;
}

bool ColourTransform::leavesColoursAlone() const
{
    const std::vector<unsigned char> samples = colourSamples();
    std::vector<int> converted(samples.size() / 4);
    convertRow(samples.data(), converted.data(), int(converted.size()));
    return withinOneLevel(samples.data(), reinterpret_cast<const unsigned char*>(converted.data()),
                          samples.size());
}

void ColourTransform::convertRow(const unsigned char* source, int* target, int width) const
{
    if (m_shaper) {
        m_shaper->convertRow(source, target, width);
        return;
    }
    if (!m_transform) {
        // Gray rows carry the same level in blue, green and red.
        for (int index = 0; index < width; ++index) {
            const int level = m_grayLevels[source[4 * index]];
            target[index] = gdTrueColor(level, level, level);
        }
        return;
    }
    cmsDoTransform(m_transform.get(), source, target, cmsUInt32Number(width));
    // Little CMS leaves the fourth byte as it was; GD reads it as alpha, 0 being opaque.
    for (int index = 0; index < width; ++index)
        target[index] &= 0x00ffffff;
}
