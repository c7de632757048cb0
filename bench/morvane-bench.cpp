// Measures generation on photograph-sized pictures: whole-batch throughput, and where the
// time goes between decoding, scaling and encoding.

#include "imaging/BatchObserver.h"
#include "imaging/ImageBatch.h"
#include "imaging/JpegCodec.h"
#include "imaging/OutputSize.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

class SilentObserver : public BatchObserver
{
public:
    void status(const QString&) override {}
    void message(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    void progressRange(int) override {}
    void progressStep() override {}
    void progressReset() override {}
    void renamed(int, const QString&) override {}
    void unreadable(int, const QString& path) override
    {
        std::fprintf(stderr, "unreadable: %s\n", qPrintable(path));
    }
    void notWritten(int, const QString& path) override
    {
        std::fprintf(stderr, "not written: %s\n", qPrintable(path));
    }
};

int clampChannel(double value)
{
    return std::clamp(int(value), 0, 255);
}

// A deterministic stand-in for a photograph: soft gradients, fine texture, objects with
// hard edges and sensor-like grain, so the encoder has as much to do as with a real one.
GdImage drawPhoto(int width, int height, unsigned seed)
{
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

OutputProfile widthProfile(const QString& saveDir, int width, int quality)
{
    OutputProfile profile;
    profile.SaveDir = saveDir;
    profile.Width = width;
    profile.UseWidth = 1;
    profile.Quality = quality;
    return profile;
}

struct Split
{
    double decode = 0;
    double scale = 0;
    double encode = 0;
};

// The batch's own steps, one by one, timed separately.
Split timeSteps(const std::vector<BatchRow>& rows, const ImageSettings& settings)
{
    Split split;
    for (const BatchRow& row : rows) {
        auto start = Clock::now();
        const GdImage source = LoadJpegFile(row.entry.GetFullPath());
        split.decode += secondsSince(start);
        for (const OutputProfile* profile : {&settings.thumbnail, &settings.large}) {
            start = Clock::now();
            const QSize size = *outputSize(*profile, QSize(source->sx, source->sy));
            const GdImage scaled(gdImageCreateTrueColor(size.width(), size.height()));
            gdImageCopyResampled(scaled.get(), source.get(), 0, 0, 0, 0, size.width(),
                                 size.height(), source->sx, source->sy);
            split.scale += secondsSince(start);
            start = Clock::now();
            SaveJpegFile(QDir::temp().filePath("morvane-bench-step.jpg"), scaled.get(),
                         profile->Quality);
            split.encode += secondsSince(start);
        }
    }
    QFile::remove(QDir::temp().filePath("morvane-bench-step.jpg"));
    return split;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Times thumbnail and large-image generation on "
                                     "12-megapixel JPEGs it draws itself.");
    parser.addHelpOption();
    const QCommandLineOption picturesOption({"n", "pictures"}, "Number of pictures (default 8).",
                                            "count", "8");
    parser.addOption(picturesOption);
    parser.process(app);
    const int pictures = parser.value(picturesOption).toInt();
    if (pictures < 1) {
        std::fprintf(stderr, "morvane-bench: the number of pictures must be at least 1\n");
        return 2;
    }

    QTemporaryDir dir;
    QDir(dir.path()).mkpath("photos");
    QDir(dir.path()).mkpath("thumbs");
    QDir(dir.path()).mkpath("images");
    const QSize photoSize(4000, 3000);

    std::printf("Drawing %d pictures of %dx%d...\n", pictures, photoSize.width(),
                photoSize.height());
    std::vector<BatchRow> rows;
    qint64 sourceBytes = 0;
    for (int index = 0; index < pictures; ++index) {
        const QString path = dir.filePath(QStringLiteral("photos/IMG_%1.jpg").arg(index + 1));
        SaveJpegFile(path, drawPhoto(photoSize.width(), photoSize.height(), index + 1).get(), 90);
        sourceBytes += QFileInfo(path).size();
        BatchRow row;
        row.entry.SetPath(path);
        row.group = "1";
        rows.push_back(row);
    }

    std::printf("Average source file: %.1f MB\n", sourceBytes / 1e6 / pictures);

    ImageSettings settings;
    settings.thumbnail = widthProfile(dir.filePath("thumbs"), 160, 70);
    settings.thumbnail.Extension = "_t";
    settings.large = widthProfile(dir.filePath("images"), 800, 85);
    const std::array<QString, 5> groupText = {"bench", "", "", "", ""};

    SilentObserver observer;
    const auto start = Clock::now();
    const GeneratedImages generated = GenerateImages(rows, groupText, settings, observer);
    const double batchSeconds = secondsSince(start);
    const Split split = timeSteps(rows, settings);
    const double splitTotal = split.decode + split.scale + split.encode;

    const double megapixels = double(photoSize.width()) * photoSize.height() / 1e6;
    std::printf("Batch: %d pictures (%lld thumbnails, %lld large images) in %.2f s\n", pictures,
                qlonglong(generated.thumbnails.size()), qlonglong(generated.largeImages.size()),
                batchSeconds);
    std::printf("  %.2f pictures/s, %.1f source megapixels/s\n", pictures / batchSeconds,
                pictures * megapixels / batchSeconds);
    std::printf("Split over a second pass, step by step (%.2f s):\n", splitTotal);
    std::printf("  decoding %6.2f s  %5.1f %%\n", split.decode, 100 * split.decode / splitTotal);
    std::printf("  scaling  %6.2f s  %5.1f %%\n", split.scale, 100 * split.scale / splitTotal);
    std::printf("  encoding %6.2f s  %5.1f %%\n", split.encode, 100 * split.encode / splitTotal);
    return 0;
}
