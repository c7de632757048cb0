#include "ColourMath.h"
#include "PhotoPictures.h"
#include "PictureReference.h"
#include "TestPictures.h"
#include "WebFiles.h"

#include "imaging/AvifEncoder.h"
#include "imaging/Credits.h"
#include "imaging/ExifBlock.h"
#include "imaging/JpegCodec.h"
#include "imaging/OutputSize.h"
#include "imaging/PictureEncoder.h"
#include "imaging/ScalePicture.h"

#include <QTest>

#include <webp/encode.h>

#include <algorithm>
#include <thread>

using PictureReference::decodeOutput;

Q_DECLARE_METATYPE(OutputFormat)

namespace {

QByteArray gdJpeg(const gdImage& picture, int quality)
{
    int size = 0;
    const std::unique_ptr<void, void (*)(void*)> data(
        gdImageJpegPtr(const_cast<gdImagePtr>(&picture), &size, quality), gdFree);
    return QByteArray(static_cast<const char*>(data.get()), size);
}

// The first pixel where two pictures differ, or an empty text when they are alike.
QString firstDifference(const gdImage& a, const gdImage& b)
{
    if (a.sx != b.sx || a.sy != b.sy)
        return QStringLiteral("sizes differ");
    for (int y = 0; y < a.sy; ++y)
        for (int x = 0; x < a.sx; ++x)
            if ((a.tpixels[y][x] & 0xffffff) != (b.tpixels[y][x] & 0xffffff))
                return QStringLiteral("pixel %1,%2").arg(x).arg(y);
    return {};
}

GdImage flat(QSize size, int colour)
{
    GdImage picture(gdImageCreateTrueColor(size.width(), size.height()));
    gdImageFilledRectangle(picture.get(), 0, 0, size.width() - 1, size.height() - 1, colour);
    return picture;
}

int farthest(int a, int b)
{
    return std::max({std::abs(gdTrueColorGetRed(a) - gdTrueColorGetRed(b)),
                     std::abs(gdTrueColorGetGreen(a) - gdTrueColorGetGreen(b)),
                     std::abs(gdTrueColorGetBlue(a) - gdTrueColorGetBlue(b))});
}

QByteArray creditsBlock()
{
    return creditsExif({"Ann Example", "(c) 2026 Ann Example"});
}

} // namespace

class EncodersTest : public QObject
{
    Q_OBJECT

private slots:
    void describesEachFormat_data();
    void describesEachFormat();
    void jpegKeepsGdPixels_data();
    void jpegKeepsGdPixels();
    void decodesToSizeAndColours_data();
    void decodesToSizeAndColours();
    void avifSignalsSrgb();
    void embedsTheExifBlock_data();
    void embedsTheExifBlock();
    void refusesWhatTheFormatCannotHold_data();
    void refusesWhatTheFormatCannotHold();
    void encodesAlikeOnSeveralThreads();
    void webpKeepsFineRedDetailBright();
    void avifIsSmallerAndNoFurtherFromTheIdeal_data();
    void avifIsSmallerAndNoFurtherFromTheIdeal();
};

void EncodersTest::describesEachFormat_data()
{
    QTest::addColumn<OutputFormat>("format");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("mediaType");
    QTest::addColumn<int>("largestSide");

    QTest::newRow("JPEG") << OutputFormat::Jpeg << ".jpg"
                          << "image/jpeg" << 65500;
    QTest::newRow("WebP") << OutputFormat::Webp << ".webp"
                          << "image/webp" << 16383;
    QTest::newRow("AVIF") << OutputFormat::Avif << ".avif"
                          << "image/avif" << 16384;
}

void EncodersTest::describesEachFormat()
{
    QFETCH(OutputFormat, format);
    const PictureEncoder& encoder = pictureEncoder(format);
    QTEST(QString(encoder.suffix()), "suffix");
    QTEST(QString(encoder.mediaType()), "mediaType");
    QTEST(encoder.largestSide(), "largestSide");
}

void EncodersTest::jpegKeepsGdPixels_data()
{
    QTest::addColumn<int>("quality");
    QTest::addColumn<bool>("photo"); // else flat bands

    // Below 90 GD subsamples the colour, from 90 on it does not; libjpeg clamps 0 and 150,
    // and a negative quality leaves libjpeg's own.
    for (int quality : {-1, 0, 20, 55, 70, 85, 89, 90, 95, 100, 150}) {
        QTest::addRow("photo at %d", quality) << quality << true;
        QTest::addRow("bands at %d", quality) << quality << false;
    }
}

void EncodersTest::jpegKeepsGdPixels()
{
    QFETCH(int, quality);
    QFETCH(bool, photo);
    // Odd sides, so the last block row and column are partial.
    const GdImage picture =
        photo ? PictureReference::drawPhoto(QSize(331, 217), 7) : TestPictures::draw(QSize(97, 61));
    const QByteArray byGd = gdJpeg(*picture, quality);
    const GdImage expected = PhotoPictures::readJpeg(byGd);
    QVERIFY(expected);

    for (bool progressive : {false, true}) {
        const QByteArray ours =
            pictureEncoder(OutputFormat::Jpeg)
                .encode(*picture, {.quality = quality, .progressive = progressive});
        const GdImage decoded = PhotoPictures::readJpeg(ours);
        QVERIFY(decoded);
        QCOMPARE(firstDifference(*decoded, *expected), QString());
        QCOMPARE(WebFiles::isProgressive(ours), progressive);
        QVERIFY2(ours.size() < byGd.size(),
                 qPrintable(QStringLiteral("%1 bytes, GD %2").arg(ours.size()).arg(byGd.size())));
    }
    // What the batch calls is the same encoder.
    QCOMPARE(EncodeJpeg(picture.get(), quality),
             pictureEncoder(OutputFormat::Jpeg).encode(*picture, {.quality = quality}));
}

void EncodersTest::decodesToSizeAndColours_data()
{
    QTest::addColumn<OutputFormat>("format");
    QTest::addColumn<QSize>("size");

    const std::pair<const char*, OutputFormat> formats[] = {
        {"JPEG", OutputFormat::Jpeg}, {"WebP", OutputFormat::Webp}, {"AVIF", OutputFormat::Avif}};
    for (const auto& [name, format] : formats)
        for (QSize size :
             {QSize(1, 1), QSize(3, 2), QSize(33, 17), QSize(160, 120), QSize(120, 160)})
            QTest::addRow("%s %dx%d", name, size.width(), size.height()) << format << size;
}

// Small pictures are one colour; larger ones the four quarters, each found in its corner.
void EncodersTest::decodesToSizeAndColours()
{
    QFETCH(OutputFormat, format);
    QFETCH(QSize, size);
    const bool quartered = size.width() >= 32 && size.height() >= 16;
    const int colour = gdTrueColor(200, 60, 30);
    const GdImage picture =
        quartered ? PhotoPictures::quarters(size.width(), size.height()) : flat(size, colour);

    const QByteArray file = pictureEncoder(format).encode(*picture, {.quality = 85});
    const GdImage decoded = decodeOutput(file);
    QVERIFY(decoded);
    QCOMPARE(QSize(decoded->sx, decoded->sy), size);
    if (quartered)
        QCOMPARE(PhotoPictures::cornerQuarters(*decoded, 3, 16), (QList<int>{0, 1, 2, 3}));
    else
        QVERIFY2(farthest(decoded->tpixels[0][0], colour) <= 8,
                 qPrintable(QString::number(decoded->tpixels[0][0], 16)));
}

void EncodersTest::avifSignalsSrgb()
{
    const GdImage picture = PhotoPictures::quarters(64, 48);
    for (int quality : {70, 95}) {
        const WebFiles::AvifHeader header = WebFiles::avifHeader(
            pictureEncoder(OutputFormat::Avif).encode(*picture, {.quality = quality}));
        QVERIFY(header.valid);
        QCOMPARE(header.size, QSize(64, 48));
        QCOMPARE(header.depth, 8);
        QCOMPARE(header.primaries, int(AVIF_COLOR_PRIMARIES_BT709));
        QCOMPARE(header.transfer, int(AVIF_TRANSFER_CHARACTERISTICS_SRGB));
        QCOMPARE(header.matrix, int(AVIF_MATRIX_COEFFICIENTS_BT709));
        QCOMPARE(header.range, AVIF_RANGE_FULL);
        QVERIFY(!header.hasIccProfile);
        QCOMPARE(header.yuvFormat, AvifEncoder::levelFor(quality).fullChroma
                                       ? AVIF_PIXEL_FORMAT_YUV444
                                       : AVIF_PIXEL_FORMAT_YUV420);
    }
}

void EncodersTest::embedsTheExifBlock_data()
{
    QTest::addColumn<OutputFormat>("format");
    QTest::newRow("JPEG") << OutputFormat::Jpeg;
    QTest::newRow("WebP") << OutputFormat::Webp;
    QTest::newRow("AVIF") << OutputFormat::Avif;
}

// Each format keeps the block where its readers look for it, and nothing without one.
void EncodersTest::embedsTheExifBlock()
{
    QFETCH(OutputFormat, format);
    const GdImage picture = PhotoPictures::quarters(40, 30);
    const QByteArray block = creditsBlock();
    const auto exifOf = [format](const QByteArray& file) -> QByteArray {
        switch (format) {
        case OutputFormat::Jpeg:
            return WebFiles::jpegExif(file);
        case OutputFormat::Webp:
            return WebFiles::webpExif(file);
        case OutputFormat::Avif:
            return WebFiles::avifHeader(file).exif;
        }
        return {};
    };
    const PictureEncoder& encoder = pictureEncoder(format);
    const QByteArray with = encoder.encode(*picture, {.quality = 80, .exif = block});
    const QByteArray without = encoder.encode(*picture, {.quality = 80});
    QVERIFY(decodeOutput(with));
    // JPEG keeps the segment as it is; WebP and AVIF the TIFF structure alone.
    QCOMPARE(exifOf(with), format == OutputFormat::Jpeg ? block : tiffPart(block));
    QCOMPARE(readCredits(QByteArray("Exif\0\0", 6) + tiffPart(exifOf(with))),
             (Credits{"Ann Example", "(c) 2026 Ann Example"}));
    QCOMPARE(exifOf(without), QByteArray());
    QVERIFY(!without.contains("Ann Example"));
}

void EncodersTest::refusesWhatTheFormatCannotHold_data()
{
    QTest::addColumn<OutputFormat>("format");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("made");

    QTest::newRow("JPEG at its widest") << OutputFormat::Jpeg << QSize(65500, 1) << true;
    QTest::newRow("JPEG too wide") << OutputFormat::Jpeg << QSize(65501, 1) << false;
    QTest::newRow("JPEG too tall") << OutputFormat::Jpeg << QSize(1, 65501) << false;
    QTest::newRow("WebP at its widest") << OutputFormat::Webp << QSize(16383, 1) << true;
    QTest::newRow("WebP too wide") << OutputFormat::Webp << QSize(16384, 1) << false;
    QTest::newRow("AVIF at its tallest") << OutputFormat::Avif << QSize(2, 16384) << true;
    QTest::newRow("AVIF too tall") << OutputFormat::Avif << QSize(2, 16385) << false;
}

void EncodersTest::refusesWhatTheFormatCannotHold()
{
    QFETCH(OutputFormat, format);
    QFETCH(QSize, size);
    QFETCH(bool, made);
    const GdImage picture = flat(size, gdTrueColor(10, 120, 200));
    const QByteArray file = pictureEncoder(format).encode(*picture, {.quality = 60});
    QCOMPARE(!file.isEmpty(), made);
    if (made)
        QCOMPARE(PictureReference::decodeOutput(file)->sx, size.width());
}

// The batch encodes on every core at once; each encoder gives the same bytes there as alone.
void EncodersTest::encodesAlikeOnSeveralThreads()
{
    const GdImage picture = PictureReference::drawPhoto(QSize(96, 64), 3);
    const QByteArray exif = creditsBlock();
    for (OutputFormat format : {OutputFormat::Jpeg, OutputFormat::Webp, OutputFormat::Avif}) {
        const PictureEncoder& encoder = pictureEncoder(format);
        const EncodeOptions options{.quality = 75, .progressive = true, .exif = exif};
        const QByteArray alone = encoder.encode(*picture, options);
        QVERIFY(!alone.isEmpty());
        std::vector<QByteArray> results(4);
        std::vector<std::thread> threads;
        for (QByteArray& result : results)
            threads.emplace_back([&] { result = encoder.encode(*picture, options); });
        for (std::thread& thread : threads)
            thread.join();
        for (const QByteArray& result : results)
            QCOMPARE(result, alone);
    }
}

// Fine red detail on white, as red lettering: the plain conversion to YUV averages the
// gamma-encoded colours of each two by two pixels, so seen from a little distance the
// detail turns dark; the sharp one keeps its light. Measured as the error of each two by two
// block's mean in linear light.
void EncodersTest::webpKeepsFineRedDetailBright()
{
    const QSize size(64, 64);
    GdImage picture = flat(size, gdTrueColor(255, 255, 255));
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if ((x * 7 + y * 3) % 11 < 3)
                picture->tpixels[y][x] = gdTrueColor(200, 0, 0);

    const auto blockError = [&](const QByteArray& webp) {
        const GdImage decoded = decodeOutput(webp);
        const auto linear = [](int level) { return ColourMath::srgbToLinear(level / 255.0); };
        double error = 0;
        for (int y = 0; y < size.height(); y += 2)
            for (int x = 0; x < size.width(); x += 2) {
                for (int shift : {16, 8, 0}) {
                    double expected = 0;
                    double found = 0;
                    for (int dy = 0; dy < 2; ++dy)
                        for (int dx = 0; dx < 2; ++dx) {
                            expected += linear(picture->tpixels[y + dy][x + dx] >> shift & 0xff);
                            found += linear(decoded->tpixels[y + dy][x + dx] >> shift & 0xff);
                        }
                    error += std::abs(expected - found) / 4;
                }
            }
        return error;
    };
    // The same picture through libwebp with its plain conversion.
    WebPConfig config;
    WebPConfigInit(&config);
    config.quality = 90;
    WebPPicture plain;
    WebPPictureInit(&plain);
    plain.width = size.width();
    plain.height = size.height();
    plain.use_argb = 1;
    WebPPictureAlloc(&plain);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            plain.argb[y * plain.argb_stride + x] = 0xff000000u | uint32_t(picture->tpixels[y][x]);
    WebPMemoryWriter writer;
    WebPMemoryWriterInit(&writer);
    plain.writer = WebPMemoryWrite;
    plain.custom_ptr = &writer;
    QVERIFY(WebPEncode(&config, &plain));
    const QByteArray plainWebp(reinterpret_cast<const char*>(writer.mem), qsizetype(writer.size));
    WebPPictureFree(&plain);
    WebPMemoryWriterClear(&writer);

    const double ours =
        blockError(pictureEncoder(OutputFormat::Webp).encode(*picture, {.quality = 90}));
    const double plainError = blockError(plainWebp);
    QVERIFY2(ours < 0.8 * plainError,
             qPrintable(QStringLiteral("sharp %1, plain %2").arg(ours).arg(plainError)));
}

void EncodersTest::avifIsSmallerAndNoFurtherFromTheIdeal_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("quality");

    // The benchmark's thumbnail and large image, and the slider's ends.
    QTest::newRow("thumbnail at 70") << QSize(2400, 1600) << 160 << 70;
    QTest::newRow("large image at 85") << QSize(2400, 1600) << 800 << 85;
    QTest::newRow("portrait thumbnail at 20") << QSize(1200, 1800) << 160 << 20;
    QTest::newRow("portrait at 100") << QSize(1200, 1800) << 400 << 100;
}

// Against the exact area average of the full-size picture, the AVIF beside a JPEG is smaller
// and at least as close.
void EncodersTest::avifIsSmallerAndNoFurtherFromTheIdeal()
{
    QFETCH(QSize, picture);
    QFETCH(int, width);
    QFETCH(int, quality);
    const GdImage full = PictureReference::drawPhoto(picture, unsigned(width + quality));
    OutputProfile profile;
    profile.UseWidth = 1;
    profile.Width = width;
    const QSize size = *outputSize(profile, picture);
    const GdImage scaled = ScalePicture(full.get(), size);
    const PictureReference::IdealPicture ideal = PictureReference::idealAverage(full.get(), size);

    const QByteArray jpeg =
        pictureEncoder(OutputFormat::Jpeg).encode(*scaled, {.quality = quality});
    const QByteArray avif =
        pictureEncoder(OutputFormat::Avif).encode(*scaled, {.quality = quality});
    const double jpegPsnr = PictureReference::psnr(jpeg, ideal);
    const double avifPsnr = PictureReference::psnr(avif, ideal);
    const QString measured = QStringLiteral("JPEG %1 bytes at %2 dB, AVIF %3 bytes at %4 dB")
                                 .arg(jpeg.size())
                                 .arg(jpegPsnr)
                                 .arg(avif.size())
                                 .arg(avifPsnr);
    QVERIFY2(avif.size() < jpeg.size(), qPrintable(measured));
    QVERIFY2(avifPsnr >= jpegPsnr, qPrintable(measured));
}

QTEST_APPLESS_MAIN(EncodersTest)
#include "tst_encoders.moc"
