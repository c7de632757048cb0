#include "imaging/AvifEncoder.h"

#include "imaging/ExifBlock.h"
#include "imaging/RgbRows.h"

#include <algorithm>
#include <memory>
#include <span>
#include <vector>

namespace {

// The widest frame of AV1's level 6: beyond it a decoder need not show a picture at all, and
// larger pictures would have to be split into a grid of frames.
constexpr int largestAvifSide = 16384;

struct ImageDestroy
{
    void operator()(avifImage* image) const { avifImageDestroy(image); }
};

struct EncoderDestroy
{
    void operator()(avifEncoder* encoder) const { avifEncoderDestroy(encoder); }
};

struct DataFree
{
    void operator()(avifRWData* data) const { avifRWDataFree(data); }
};

} // namespace

AvifEncoder::AvifEncoder() : m_tuning{AVIF_CODEC_CHOICE_AOM, 6} {}

QByteArray AvifEncoder::encode(const gdImage& picture, const EncodeOptions& options) const
{
    return encodeAt(picture, levelFor(options.quality), options.exif);
}

int AvifEncoder::largestSide() const
{
    return largestAvifSide;
}

QByteArray AvifEncoder::encodeAt(const gdImage& source, Level level, const QByteArray& exif) const
{
    if (!source.trueColor || source.sx < 1 || source.sy < 1 || source.sx > largestSide() ||
        source.sy > largestSide())
        return {};
    const uint32_t width = uint32_t(source.sx);
    const uint32_t height = uint32_t(source.sy);
    const std::unique_ptr<avifImage, ImageDestroy> image(avifImageCreate(
        width, height, 8, level.fullChroma ? AVIF_PIXEL_FORMAT_YUV444 : AVIF_PIXEL_FORMAT_YUV420));
    if (!image)
        return {};
    image->colorPrimaries = AVIF_COLOR_PRIMARIES_BT709;
    image->transferCharacteristics = AVIF_TRANSFER_CHARACTERISTICS_SRGB;
    image->matrixCoefficients = AVIF_MATRIX_COEFFICIENTS_BT709;
    image->yuvRange = AVIF_RANGE_FULL;

    avifRGBImage rgb;
    avifRGBImageSetDefaults(&rgb, image.get());
    rgb.format = AVIF_RGB_FORMAT_RGB;
    rgb.depth = 8;
    rgb.rowBytes = 3 * width;
    std::vector<uint8_t> pixels(size_t(rgb.rowBytes) * height);
    rgb.pixels = pixels.data();
    for (int y = 0; y < source.sy; ++y)
        copyRgbRow(source, y, std::span(pixels).subspan(size_t(y) * rgb.rowBytes, rgb.rowBytes));
    if (avifImageRGBToYUV(image.get(), &rgb) != AVIF_RESULT_OK)
        return {};
    pixels = {};
    if (!exif.isEmpty()) {
        const QByteArray tiff = tiffPart(exif);
        avifImageSetMetadataExif(image.get(), reinterpret_cast<const uint8_t*>(tiff.constData()),
                                 size_t(tiff.size()));
    }

    const std::unique_ptr<avifEncoder, EncoderDestroy> encoder(avifEncoderCreate());
    if (!encoder)
        return {};
    encoder->codecChoice = m_tuning.codec;
    // Pictures are encoded side by side on every core already.
    encoder->maxThreads = 1;
    encoder->speed = m_tuning.speed;
    encoder->minQuantizer = encoder->maxQuantizer =
        std::clamp(level.quantizer, AVIF_QUANTIZER_BEST_QUALITY, AVIF_QUANTIZER_WORST_QUALITY);
    avifRWData output = AVIF_DATA_EMPTY;
    const std::unique_ptr<avifRWData, DataFree> owned(&output);
    if (avifEncoderWrite(encoder.get(), image.get(), &output) != AVIF_RESULT_OK)
        return {};
    return QByteArray(reinterpret_cast<const char*>(output.data), qsizetype(output.size));
}

// Measured with bench/morvane-encoder-choice on drawn photographs and real ones, as 160-pixel
// thumbnails and 800-pixel large images: for each JPEG quality, the coarsest quantizer at
// which every one of them came out no further from the ideal picture than its JPEG (the
// finest textures, such as fur, decide). The AVIFs then weighed 0.2 to 0.9 times their JPEGs
// from quality 50 on, and up to 1.06 times below it, where smooth pictures must carry the
// quantizer that textured ones need. From 90 on GD's JPEG keeps the colour of every pixel,
// which a 4:2:0 AVIF cannot match at any quantizer; 4:4:4 can.
AvifEncoder::Level AvifEncoder::levelFor(int jpegQuality)
{
    struct Point
    {
        int jpegQuality;
        int quantizer;
    };
    static constexpr Point subsampled[] = {{20, 42}, {25, 40}, {30, 38}, {35, 36}, {40, 35},
                                           {45, 34}, {50, 33}, {55, 33}, {60, 32}, {65, 30},
                                           {70, 29}, {75, 27}, {80, 25}, {85, 23}, {87, 19},
                                           {89, 14}};
    static constexpr Point fullChroma[] = {{90, 15}, {92, 12}, {95, 9}, {100, 0}};
    // A negative quality leaves libjpeg's own, 75, as GD does; the slider's range bounds the
    // rest.
    const int quality = jpegQuality < 0 ? 75 : std::clamp(jpegQuality, 20, 100);
    const bool full = quality >= 90;
    const std::span<const Point> points = full ? std::span<const Point>(fullChroma)
                                               : std::span<const Point>(subsampled);
    // Between two measured qualities the finer quantizer's side is taken, never the coarser.
    for (size_t index = 1; index < points.size(); ++index) {
        const Point& low = points[index - 1];
        const Point& high = points[index];
        if (quality > high.jpegQuality)
            continue;
        const int drop = low.quantizer - high.quantizer;
        const int span = high.jpegQuality - low.jpegQuality;
        const int done = quality - low.jpegQuality;
        return {low.quantizer - (drop * done + span - 1) / span, full};
    }
    return {points.back().quantizer, full};
}
