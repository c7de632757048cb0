// Chooses how AVIF is written: which AV1 encoder libavif drives and at what speed, compared at
// equal quality, and which AV1 quantizer stands for each JPEG quality, so that an AVIF is
// smaller than the JPEG beside it and no further from the ideal picture. Every output is
// measured by its PSNR against the exact area average of the full-size picture.
//
//   morvane-encoder-choice codecs  [PICTURE...]   time and bytes per encoder and speed
//   morvane-encoder-choice mapping [PICTURE...]   the coarsest quantizer per JPEG quality
//   morvane-encoder-choice check   [PICTURE...]   the mapping in use, picture by picture
//
// Drawn photographs are always measured; JPEG or PNG files given are measured beside them.
// With MORVANE_BENCH_VERBOSE=1 the mapping also shows each picture's own quantizer.

#include "PictureReference.h"

#include "imaging/AvifEncoder.h"
#include "imaging/JpegEncoder.h"
#include "imaging/OutputSize.h"
#include "imaging/ScalePicture.h"
#include "imaging/WebpEncoder.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

using namespace PictureReference;

namespace {

struct Sample
{
    QString name;
    GdImage scaled;
    IdealPicture ideal;
    int jpegQuality;
};

GdImage readPicture(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.readAll();
    gdImagePtr image = bytes.startsWith("\x89PNG")
                           ? gdImageCreateFromPngPtr(int(bytes.size()), bytes.data())
                           : gdImageCreateFromJpegPtr(int(bytes.size()), bytes.data());
    if (image && !image->trueColor)
        gdImagePaletteToTrueColor(image);
    return GdImage(image);
}

// The outputs the program makes of a picture: a 160-pixel thumbnail at quality 70 and an
// 800-pixel large image at 85, the large one only from a picture large enough for it.
std::vector<Sample> samplesOf(const QString& name, const GdImage& full)
{
    std::vector<Sample> samples;
    for (const auto& [width, quality] : {std::pair{160, 70}, std::pair{800, 85}}) {
        if (full->sx < width)
            continue;
        OutputProfile profile;
        profile.UseWidth = 1;
        profile.Width = width;
        const std::optional<QSize> size = outputSize(profile, QSize(full->sx, full->sy));
        samples.push_back({QStringLiteral("%1 at %2").arg(name).arg(width),
                           ScalePicture(full.get(), *size), idealAverage(full.get(), *size),
                           quality});
    }
    return samples;
}

std::vector<Sample> allSamples(const QStringList& files)
{
    std::vector<Sample> samples;
    const QSize drawn[] = {{3000, 2000}, {2000, 3000}, {4000, 3000}};
    for (int index = 0; index < 3; ++index) {
        const GdImage full = drawPhoto(drawn[index], unsigned(index) + 1);
        for (Sample& sample : samplesOf(QStringLiteral("drawn %1").arg(index + 1), full))
            samples.push_back(std::move(sample));
    }
    for (const QString& path : files) {
        const GdImage full = readPicture(path);
        if (!full) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
            continue;
        }
        for (Sample& sample : samplesOf(QFileInfo(path).fileName(), full))
            samples.push_back(std::move(sample));
    }
    return samples;
}

struct Measured
{
    qsizetype bytes = 0;
    double psnr = 0;
    double seconds = 0;
};

template <class Encode> Measured measure(const Sample& sample, Encode encode)
{
    const auto start = std::chrono::steady_clock::now();
    const QByteArray file = encode(*sample.scaled);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return {file.size(), psnr(file, sample.ideal), took.count()};
}

Measured jpegOf(const Sample& sample, int quality)
{
    return measure(sample, [&](const gdImage& picture) {
        return JpegEncoder().encode(picture, {.quality = quality});
    });
}

// The coarsest quantizer whose AVIF is no further from the ideal than target, with what it
// gave; none when even the finest falls short. PSNR falls with the quantizer.
std::optional<std::pair<int, Measured>> coarsestReaching(const AvifEncoder& encoder,
                                                         const Sample& sample, bool fullChroma,
                                                         double target, double* seconds = nullptr,
                                                         int* encodes = nullptr)
{
    std::optional<std::pair<int, Measured>> best;
    int low = 0;
    int high = 63;
    while (low <= high) {
        const int middle = (low + high) / 2;
        const Measured avif = measure(sample, [&](const gdImage& picture) {
            return encoder.encodeAt(picture, {middle, fullChroma}, {});
        });
        if (seconds)
            *seconds += avif.seconds;
        if (encodes)
            ++*encodes;
        if (avif.psnr >= target) {
            best = {middle, avif};
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return best;
}

const char* codecName(avifCodecChoice codec)
{
    return avifCodecName(codec, AVIF_CODEC_FLAG_CAN_ENCODE);
}

// Each encoder and speed at the quality of the JPEG beside it: the time of one encode and
// the bytes against the JPEG's.
void compareCodecs(const std::vector<Sample>& samples)
{
    struct Choice
    {
        avifCodecChoice codec;
        std::vector<int> speeds;
    };
    const Choice choices[] = {{AVIF_CODEC_CHOICE_AOM, {4, 5, 6, 7, 8, 9}},
                              {AVIF_CODEC_CHOICE_RAV1E, {6, 8, 10}},
                              {AVIF_CODEC_CHOICE_SVT, {6, 8, 10}}};
    std::printf("%-8s %5s %12s %12s %10s %8s\n", "encoder", "speed", "ms/picture", "AVIF/JPEG",
                "quantizer", "misses");
    for (const Choice& choice : choices) {
        if (!codecName(choice.codec)) {
            std::printf("%d: not available\n", int(choice.codec));
            continue;
        }
        for (int speed : choice.speeds) {
            const AvifEncoder encoder({choice.codec, speed});
            double seconds = 0;
            int encodes = 0;
            qsizetype avifBytes = 0;
            qsizetype jpegBytes = 0;
            int quantizers = 0;
            int misses = 0;
            for (const Sample& sample : samples) {
                const Measured jpeg = jpegOf(sample, sample.jpegQuality);
                const auto reached =
                    coarsestReaching(encoder, sample, false, jpeg.psnr, &seconds, &encodes);
                if (!reached) {
                    ++misses;
                    continue;
                }
                avifBytes += reached->second.bytes;
                jpegBytes += jpeg.bytes;
                quantizers += reached->first;
            }
            const int reachedCount = int(samples.size()) - misses;
            std::printf("%-8s %5d %12.1f %12.3f %10.1f %8d\n", codecName(choice.codec), speed,
                        1000 * seconds / std::max(1, encodes),
                        jpegBytes ? double(avifBytes) / double(jpegBytes) : 0.0,
                        double(quantizers) / std::max(1, reachedCount), misses);
            std::fflush(stdout);
        }
    }
}

// Per JPEG quality, the coarsest quantizer that reaches the JPEG's PSNR on every sample, in
// 4:2:0 and in 4:4:4, and what the AVIF then weighs against the JPEG.
void findMapping(const std::vector<Sample>& samples, bool verbose)
{
    const AvifEncoder encoder;
    std::printf("%7s | %-28s | %-28s\n", "quality", "4:2:0 quantizer, AVIF/JPEG",
                "4:4:4 quantizer, AVIF/JPEG");
    // MORVANE_BENCH_QUALITIES=86,88 measures those qualities instead.
    std::vector<int> qualities;
    for (const QByteArray& quality : qgetenv("MORVANE_BENCH_QUALITIES").split(','))
        if (!quality.isEmpty())
            qualities.push_back(quality.toInt());
    if (qualities.empty())
        for (int quality = 20; quality <= 100; quality += 5)
            qualities.push_back(quality);
    for (int quality : qualities) {
        std::printf("%7d", quality);
        for (bool fullChroma : {false, true}) {
            int coarsest = 63;
            bool reachable = true;
            std::vector<Measured> jpegs;
            QStringList own;
            for (const Sample& sample : samples) {
                jpegs.push_back(jpegOf(sample, quality));
                const auto reached =
                    coarsestReaching(encoder, sample, fullChroma, jpegs.back().psnr);
                if (!reached) {
                    reachable = false;
                    break;
                }
                coarsest = std::min(coarsest, reached->first);
                own << QStringLiteral("%1 (%2)")
                           .arg(reached->first)
                           .arg(double(reached->second.bytes) / double(jpegs.back().bytes), 0, 'f',
                                2);
            }
            if (verbose)
                std::printf("\n  each picture's own quantizer (AVIF/JPEG): %s\n",
                            qPrintable(own.join(u", ")));
            if (!reachable) {
                std::printf(" | %-28s", "not reached");
                continue;
            }
            // What every sample weighs at the quantizer that holds for all of them.
            double worstRatio = 0;
            for (size_t index = 0; index < samples.size(); ++index) {
                const Measured avif = measure(samples[index], [&](const gdImage& picture) {
                    return encoder.encodeAt(picture, {coarsest, fullChroma}, {});
                });
                worstRatio = std::max(worstRatio, double(avif.bytes) / double(jpegs[index].bytes));
            }
            std::printf(" | %2d, worst %5.2f             ", coarsest, worstRatio);
        }
        std::printf("\n");
        std::fflush(stdout);
    }
}

// The mapping in use against the JPEG, picture by picture; also WebP at the same quality.
void checkMapping(const std::vector<Sample>& samples)
{
    const AvifEncoder avifEncoder;
    const WebpEncoder webpEncoder;
    int failures = 0;
    std::printf("%-28s %4s %8s %8s %8s %8s %8s %8s\n", "picture", "q", "JPEG B", "dB", "AVIF B",
                "dB", "WebP B", "dB");
    for (int quality : {20, 40, 60, 70, 80, 85, 90, 95, 100}) {
        for (const Sample& sample : samples) {
            const Measured jpeg = jpegOf(sample, quality);
            const Measured avif = measure(sample, [&](const gdImage& picture) {
                return avifEncoder.encode(picture, {.quality = quality});
            });
            const Measured webp = measure(sample, [&](const gdImage& picture) {
                return webpEncoder.encode(picture, {.quality = quality});
            });
            const bool fails = avif.bytes >= jpeg.bytes || avif.psnr < jpeg.psnr;
            failures += fails;
            std::printf("%-28s %4d %8lld %8.2f %8lld %8.2f %8lld %8.2f%s\n",
                        qPrintable(sample.name), quality, (long long)jpeg.bytes, jpeg.psnr,
                        (long long)avif.bytes, avif.psnr, (long long)webp.bytes, webp.psnr,
                        fails ? "  AVIF misses" : "");
        }
    }
    std::printf("%d outputs where the AVIF is not smaller at no lower PSNR\n", failures);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QStringList arguments = application.arguments().mid(1);
    const QString mode = arguments.isEmpty() ? QString() : arguments.takeFirst();
    if (mode != u"codecs" && mode != u"mapping" && mode != u"check") {
        std::fprintf(stderr, "usage: morvane-encoder-choice codecs|mapping|check [PICTURE...]\n");
        return 2;
    }
    const std::vector<Sample> samples = allSamples(arguments);
    std::printf("%zu outputs: 160-pixel thumbnails at quality 70, 800-pixel large images at 85\n",
                samples.size());
    if (mode == u"codecs")
        compareCodecs(samples);
    else if (mode == u"mapping")
        findMapping(samples, qEnvironmentVariableIsSet("MORVANE_BENCH_VERBOSE"));
    else
        checkMapping(samples);
    return 0;
}
