// Measures what turning photographs upright and converting them to sRGB cost, per
// megapixel, against one picture's whole run through today's decoder, scaler and encoder
// measured in the same process.

#include "PhotoPictures.h"

#include "imaging/ColourTransforms.h"
#include "imaging/JpegCodec.h"
#include "imaging/Orientation.h"
#include "imaging/OutputSize.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <functional>
#include <random>

namespace {

using Clock = std::chrono::steady_clock;

// The best of several passes: the machine is shared, and the best pass is the one least
// disturbed by others.
double bestSeconds(int passes, const std::function<void()>& work)
{
    double best = 1e30;
    for (int pass = 0; pass < passes; ++pass) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

GdImage drawPhoto(QSize size)
{
    GdImage image(gdImageCreateTrueColor(size.width(), size.height()));
    std::minstd_rand random(7);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image->tpixels[y][x] = gdTrueColor((x / 16 + int(random() % 8)) % 256,
                                               (y / 12 + int(random() % 8)) % 256,
                                               ((x + y) / 24) % 256);
    return image;
}

GdImage copyOf(const gdImage& image)
{
    GdImage copy(gdImageCreateTrueColor(image.sx, image.sy));
    for (int y = 0; y < image.sy; ++y)
        std::copy(image.tpixels[y], image.tpixels[y] + image.sx, copy->tpixels[y]);
    return copy;
}

OutputProfile widthProfile(int width)
{
    OutputProfile profile;
    profile.Width = width;
    profile.UseWidth = 1;
    return profile;
}

void writeOutputs(const gdImage& picture, const QString& output)
{
    for (const auto& [width, quality] : {std::pair{160, 70}, std::pair{800, 85}}) {
        const QSize size = *outputSize(widthProfile(width), QSize(picture.sx, picture.sy));
        const GdImage scaled(gdImageCreateTrueColor(size.width(), size.height()));
        gdImageCopyResampled(scaled.get(), const_cast<gdImage*>(&picture), 0, 0, 0, 0,
                             size.width(), size.height(), picture.sx, picture.sy);
        SaveJpegFile(output, scaled.get(), quality);
    }
}

// One picture's run today: decode, then a thumbnail and a large image scaled and written.
void runOnePicture(const QString& source, const QString& output)
{
    writeOutputs(*LoadJpegFile(source), output);
}

// The decode the codec is moving to: libjpeg-turbo scaling in the DCT by 1/denominator,
// rows straight into a GD image.
GdImage decodeScaled(const QByteArray& jpeg, int denominator)
{
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.data()),
                 (unsigned long)jpeg.size());
    jpeg_read_header(&info, TRUE);
    info.scale_num = 1;
    info.scale_denom = unsigned(denominator);
    info.out_color_space = JCS_EXT_BGRX;
    jpeg_start_decompress(&info);
    GdImage image(gdImageCreateTrueColor(int(info.output_width), int(info.output_height)));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = reinterpret_cast<JSAMPROW>(image->tpixels[info.output_scanline]);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return image;
}

void convertImage(const ColourConversion& conversion, gdImage& image)
{
    for (int y = 0; y < image.sy; ++y) {
        int* row = image.tpixels[y];
        conversion.convertRow(reinterpret_cast<const unsigned char*>(row), row, image.sx);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Times turning photographs upright and converting them "
                                     "to sRGB against one picture's whole run.");
    parser.addHelpOption();
    const QCommandLineOption passesOption({"p", "passes"}, "Passes per measure (default 5).",
                                          "count", "5");
    parser.addOption(passesOption);
    parser.process(app);
    const int passes = std::max(1, parser.value(passesOption).toInt());

    const QSize size(4000, 3000);
    const double megapixels = size.width() * size.height() / 1e6;
    const GdImage photo = drawPhoto(size);
    QTemporaryDir dir;
    const QString source = dir.filePath("photo.jpg");
    SaveJpegFile(source, photo.get(), 90);

    const double run =
        bestSeconds(passes, [&] { runOnePicture(source, dir.filePath("output.jpg")); });

    const double quarterTurn = bestSeconds(passes, [&] {
        turnUpright(copyOf(*photo), Orientation::Rotate90Clockwise);
    }) - bestSeconds(passes, [&] { copyOf(*photo); });
    const double halfTurn = bestSeconds(passes, [&] {
        turnUpright(copyOf(*photo), Orientation::Rotate180);
    }) - bestSeconds(passes, [&] { copyOf(*photo); });

    ColourTransforms transforms;
    const ColourConversion displayP3 = transforms.conversionFor(
        SourcePixels::Colour, PhotoPictures::rgbProfile(PhotoPictures::displayP3Space));
    const GdImage converted = copyOf(*photo);
    const double colour = bestSeconds(passes, [&] { convertImage(displayP3, *converted); });
    const ColourConversion inks = transforms.conversionFor(SourcePixels::InvertedCmyk, {});
    const ColourConversion profiledInks =
        transforms.conversionFor(SourcePixels::Cmyk, PhotoPictures::cmykProfile());
    std::vector<unsigned char> inkRow(std::size_t(4 * size.width()), 100);
    const auto cmykCost = [&](const ColourConversion& conversion) {
        return bestSeconds(passes, [&] {
            for (int y = 0; y < converted->sy; ++y)
                conversion.convertRow(inkRow.data(), converted->tpixels[y], converted->sx);
        });
    };
    const double plainCmyk = cmykCost(inks);
    const double profiledCmyk = cmykCost(profiledInks);

    const auto perMegapixel = [&](double seconds) { return 1000 * seconds / megapixels; };
    std::printf("One %dx%d picture (%.0f MP), best of %d passes\n", size.width(), size.height(),
                megapixels, passes);
    std::printf("  whole run today (decode, thumbnail, large image): %7.1f ms  %6.2f ms/MP\n",
                1000 * run, perMegapixel(run));
    std::printf("  quarter turn (orientation 6):                     %7.1f ms  %6.2f ms/MP\n",
                1000 * quarterTurn, perMegapixel(quarterTurn));
    std::printf("  half turn (orientation 3):                        %7.1f ms  %6.2f ms/MP\n",
                1000 * halfTurn, perMegapixel(halfTurn));
    std::printf("  Display P3 to sRGB:                               %7.1f ms  %6.2f ms/MP\n",
                1000 * colour, perMegapixel(colour));
    std::printf("  CMYK inks to sRGB, plain:                         %7.1f ms  %6.2f ms/MP\n",
                1000 * plainCmyk, perMegapixel(plainCmyk));
    std::printf("  CMYK inks to sRGB, through a profile:             %7.1f ms  %6.2f ms/MP\n",
                1000 * profiledCmyk, perMegapixel(profiledCmyk));
    std::printf("Phone picture (quarter turn + Display P3) at full size: %.1f %% of today's run\n",
                100 * (quarterTurn + colour) / run);

    // The outputs here need at most 800 pixels of width, so the codec will decode this
    // picture at a quarter of its size; turning and colour then work on that.
    const QByteArray jpeg = [&] {
        QFile file(source);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    const int denominator = 4;
    const GdImage small = decodeScaled(jpeg, denominator);
    const double scaledDecode = bestSeconds(passes, [&] { decodeScaled(jpeg, denominator); });
    const double scaledOutputs =
        bestSeconds(passes, [&] { writeOutputs(*small, dir.filePath("output.jpg")); });
    const double scaledTurn = bestSeconds(passes, [&] {
        turnUpright(copyOf(*small), Orientation::Rotate90Clockwise);
    }) - bestSeconds(passes, [&] { copyOf(*small); });
    const double scaledColour = bestSeconds(passes, [&] { convertImage(displayP3, *small); });
    const double scaledRun = scaledDecode + scaledTurn + scaledColour + scaledOutputs;
    std::printf("With a 1/%d DCT-scaled decode (%dx%d):\n", denominator, small->sx, small->sy);
    std::printf("  decode %.1f ms, quarter turn %.1f ms, Display P3 %.1f ms, outputs %.1f ms\n",
                1000 * scaledDecode, 1000 * scaledTurn, 1000 * scaledColour,
                1000 * scaledOutputs);
    std::printf("Phone picture (quarter turn + Display P3) with scaled decoding: %.1f %% of "
                "the run\n",
                100 * (scaledTurn + scaledColour) / scaledRun);
    return 0;
}
