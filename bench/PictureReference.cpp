#include "PictureReference.h"

#include "imaging/OutputSize.h"

#include <avif/avif.h>
#include <webp/decode.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>

namespace PictureReference {

namespace {

int clampChannel(double value)
{
    return std::clamp(int(value), 0, 255);
}

struct GdBufferDeleter
{
    void operator()(void* buffer) const { gdFree(buffer); }
};

// One axis of the area average: for each output pixel the source pixels it covers, with the
// covered fraction of each.
std::vector<std::vector<std::pair<int, double>>> weights(int sourceLength, int outLength)
{
    std::vector<std::vector<std::pair<int, double>>> result(outLength);
    const double step = double(sourceLength) / outLength;
    for (int index = 0; index < outLength; ++index) {
        const double start = index * step;
        const double end = start + step;
        for (int pixel = int(start); pixel < sourceLength && pixel < end; ++pixel) {
            const double covered = std::min(end, pixel + 1.0) - std::max(start, double(pixel));
            if (covered > 0)
                result[index].emplace_back(pixel, covered / step);
        }
    }
    return result;
}

} // namespace

GdImage drawPhoto(QSize size, unsigned seed)
{
    const int width = size.width();
    const int height = size.height();
    GdImage image(gdImageCreateTrueColor(width, height));
    std::minstd_rand random(seed);
    std::uniform_real_distribution<double> phase(0.0, 6.28);
    const double shift = phase(random);
    for (int y = 0; y < height; ++y) {
        int* row = image->tpixels[y];
        const double sky = double(y) / height;
        for (int x = 0; x < width; ++x) {
            const double across = double(x) / width;
            const double texture = 18.0 * std::sin(x * 0.05 + shift) * std::cos(y * 0.037);
            row[x] = gdTrueColor(clampChannel(90 + 120 * sky + texture),
                                 clampChannel(140 - 60 * sky + 50 * across + texture),
                                 clampChannel(200 - 150 * sky * across + texture));
        }
    }
    std::uniform_int_distribution<int> coordinate(0, std::max(width, height));
    std::uniform_int_distribution<int> channel(0, 255);
    for (int shape = 0; shape < 60; ++shape) {
        const int colour = gdTrueColor(channel(random), channel(random), channel(random));
        gdImageFilledEllipse(image.get(), coordinate(random) % width, coordinate(random) % height,
                             coordinate(random) / 6 + 8, coordinate(random) / 6 + 8, colour);
    }
    std::uniform_int_distribution<int> grain(-10, 10);
    for (int y = 0; y < height; ++y) {
        int* row = image->tpixels[y];
        for (int x = 0; x < width; ++x) {
            const int pixel = row[x];
            const int noise = grain(random);
            row[x] = gdTrueColor(std::clamp(gdTrueColorGetRed(pixel) + noise, 0, 255),
                                 std::clamp(gdTrueColorGetGreen(pixel) + noise, 0, 255),
                                 std::clamp(gdTrueColorGetBlue(pixel) + noise, 0, 255));
        }
    }
    return image;
}

GdImage decodeFullSize(const QByteArray& jpeg)
{
    return GdImage(gdImageCreateFromJpegPtr(int(jpeg.size()), const_cast<char*>(jpeg.constData())));
}

QByteArray sequentialOutput(gdImagePtr fullSize, const OutputProfile& profile)
{
    const std::optional<QSize> size = outputSize(profile, QSize(fullSize->sx, fullSize->sy));
    if (!size)
        return {};
    const GdImage scaled(gdImageCreateTrueColor(size->width(), size->height()));
    gdImageCopyResampled(scaled.get(), fullSize, 0, 0, 0, 0, size->width(), size->height(),
                         fullSize->sx, fullSize->sy);
    int length = 0;
    const std::unique_ptr<void, GdBufferDeleter> data(
        gdImageJpegPtr(scaled.get(), &length, profile.Quality));
    return QByteArray(static_cast<const char*>(data.get()), length);
}

IdealPicture idealAverage(gdImagePtr fullSize, QSize size)
{
    const auto columns = weights(fullSize->sx, size.width());
    const auto rows = weights(fullSize->sy, size.height());
    IdealPicture ideal{size, std::vector<double>(3 * size_t(size.width()) * size.height())};
    std::vector<double> reduced(3 * size_t(size.width()));
    for (int y = 0; y < size.height(); ++y) {
        double* out = &ideal.channels[3 * size_t(y) * size.width()];
        for (const auto& [sourceRow, rowWeight] : rows[y]) {
            const int* pixels = fullSize->tpixels[sourceRow];
            for (int x = 0; x < size.width(); ++x) {
                double red = 0, green = 0, blue = 0;
                for (const auto& [column, weight] : columns[x]) {
                    red += weight * gdTrueColorGetRed(pixels[column]);
                    green += weight * gdTrueColorGetGreen(pixels[column]);
                    blue += weight * gdTrueColorGetBlue(pixels[column]);
                }
                out[3 * x] += rowWeight * red;
                out[3 * x + 1] += rowWeight * green;
                out[3 * x + 2] += rowWeight * blue;
            }
        }
    }
    return ideal;
}

namespace {

GdImage fromRgb(const uint8_t* rgb, int width, int height, size_t rowBytes)
{
    GdImage picture(gdImageCreateTrueColor(width, height));
    if (!picture)
        return {};
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = rgb + size_t(y) * rowBytes;
        for (int x = 0; x < width; ++x)
            picture->tpixels[y][x] = gdTrueColor(row[3 * x], row[3 * x + 1], row[3 * x + 2]);
    }
    return picture;
}

GdImage decodeWebp(const QByteArray& file)
{
    int width = 0;
    int height = 0;
    const std::unique_ptr<uint8_t, void (*)(void*)> rgb(
        WebPDecodeRGB(reinterpret_cast<const uint8_t*>(file.constData()), size_t(file.size()),
                      &width, &height),
        WebPFree);
    return rgb ? fromRgb(rgb.get(), width, height, 3 * size_t(width)) : GdImage();
}

GdImage decodeAvif(const QByteArray& file)
{
    const std::unique_ptr<avifDecoder, void (*)(avifDecoder*)> decoder(avifDecoderCreate(),
                                                                       avifDecoderDestroy);
    const std::unique_ptr<avifImage, void (*)(avifImage*)> image(avifImageCreateEmpty(),
                                                                 avifImageDestroy);
    if (!decoder || !image ||
        avifDecoderReadMemory(decoder.get(), image.get(),
                              reinterpret_cast<const uint8_t*>(file.constData()),
                              size_t(file.size())) != AVIF_RESULT_OK)
        return {};
    avifRGBImage rgb;
    avifRGBImageSetDefaults(&rgb, image.get());
    rgb.format = AVIF_RGB_FORMAT_RGB;
    rgb.depth = 8;
    avifRGBImageAllocatePixels(&rgb);
    const std::unique_ptr<avifRGBImage, void (*)(avifRGBImage*)> pixels(&rgb,
                                                                        avifRGBImageFreePixels);
    if (avifImageYUVToRGB(image.get(), &rgb) != AVIF_RESULT_OK)
        return {};
    return fromRgb(rgb.pixels, int(rgb.width), int(rgb.height), rgb.rowBytes);
}

} // namespace

GdImage decodeOutput(const QByteArray& file)
{
    if (file.isEmpty())
        return {};
    if (file.startsWith("RIFF") && file.mid(8, 4) == "WEBP")
        return decodeWebp(file);
    if (file.mid(4, 4) == "ftyp")
        return decodeAvif(file);
    return decodeFullSize(file);
}

double psnr(const QByteArray& file, const IdealPicture& ideal)
{
    return psnr(decodeOutput(file).get(), ideal);
}

double psnr(const gdImage* picture, const IdealPicture& ideal)
{
    if (!picture || QSize(picture->sx, picture->sy) != ideal.size)
        return 0;
    double squares = 0;
    for (int y = 0; y < ideal.size.height(); ++y) {
        const double* expected = &ideal.channels[3 * size_t(y) * ideal.size.width()];
        for (int x = 0; x < ideal.size.width(); ++x) {
            const int pixel = picture->tpixels[y][x];
            const double found[3] = {double(gdTrueColorGetRed(pixel)),
                                     double(gdTrueColorGetGreen(pixel)),
                                     double(gdTrueColorGetBlue(pixel))};
            for (int c = 0; c < 3; ++c)
                squares += std::pow(found[c] - expected[3 * x + c], 2);
        }
    }
    const double meanSquare = squares / (3.0 * ideal.size.width() * ideal.size.height());
    return 10 * std::log10(255.0 * 255.0 / meanSquare);
}

} // namespace PictureReference
