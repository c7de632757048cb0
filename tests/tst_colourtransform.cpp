#include "ColourMath.h"
#include "PhotoPictures.h"

#include "imaging/ColourTransforms.h"

#include <QTest>

#include <latch>
#include <thread>

using namespace PhotoPictures;
using ColourMath::Rgb;
using Inks = std::array<int, 4>;

Q_DECLARE_METATYPE(SourcePixels)
Q_DECLARE_METATYPE(Rgb)
Q_DECLARE_METATYPE(Inks)

namespace {

// One row of the same colour in GD's layout, its fourth byte as libjpeg-turbo pads it.
std::vector<int> colourRow(Rgb colour, int width = 32)
{
    return std::vector<int>(
        std::size_t(width),
        int(0xff000000u | unsigned(gdTrueColor(colour[0], colour[1], colour[2]))));
}

std::vector<unsigned char> inkRow(std::array<int, 4> inks, int width = 32)
{
    std::vector<unsigned char> row;
    for (int x = 0; x < width; ++x)
        for (int ink : inks)
            row.push_back((unsigned char)ink);
    return row;
}

const unsigned char* bytesOf(const std::vector<int>& row)
{
    return reinterpret_cast<const unsigned char*>(row.data());
}

QByteArray withBytesChanged(QByteArray bytes, qsizetype from, qsizetype count, char value)
{
    for (qsizetype at = from; at < from + count && at < bytes.size(); ++at)
        bytes[at] = value;
    return bytes;
}

} // namespace

class ColourTransformTest : public QObject
{
    Q_OBJECT

private slots:
    void wideGamutColoursComeOutInSrgb_data();
    void wideGamutColoursComeOutInSrgb();
    void tablesAgreeWithLittleCms_data();
    void tablesAgreeWithLittleCms();
    void srgbProfilesCostNothing_data();
    void srgbProfilesCostNothing();
    void unusableProfilesAreIgnored_data();
    void unusableProfilesAreIgnored();
    void grayProfilesKeepPicturesGray_data();
    void grayProfilesKeepPicturesGray();
    void inksWithoutProfileGiveTheirColour_data();
    void inksWithoutProfileGiveTheirColour();
    void inksThroughTheirProfile_data();
    void inksThroughTheirProfile();
    void eachProfileIsBuiltOncePerRun();
    void renderThreadsShareOneTransform_data();
    void renderThreadsShareOneTransform();
};

void ColourTransformTest::wideGamutColoursComeOutInSrgb_data()
{
    QTest::addColumn<QByteArray>("profile");
    QTest::addColumn<Rgb>("colour");
    QTest::addColumn<Rgb>("expected");

    const QByteArray displayP3 = rgbProfile(displayP3Space);
    const QByteArray adobeRgb = rgbProfile(adobeRgbSpace);
    const QByteArray displayP3Table = lookupTableProfile(displayP3Space);
    for (Rgb colour : {Rgb{204, 51, 51}, Rgb{60, 180, 90}, Rgb{40, 90, 200}, Rgb{128, 128, 128},
                       Rgb{255, 255, 255}, Rgb{0, 0, 0}, Rgb{3, 2, 1}}) {
        QTest::addRow("Display P3 as a table %d,%d,%d", colour[0], colour[1], colour[2])
            << displayP3Table << colour << ColourMath::toSrgb(displayP3Space, colour);
        QTest::addRow("Display P3 %d,%d,%d", colour[0], colour[1], colour[2])
            << displayP3 << colour << ColourMath::toSrgb(displayP3Space, colour);
        QTest::addRow("Adobe RGB %d,%d,%d", colour[0], colour[1], colour[2])
            << adobeRgb << colour << ColourMath::toSrgb(adobeRgbSpace, colour);
    }
}

void ColourTransformTest::wideGamutColoursComeOutInSrgb()
{
    QFETCH(QByteArray, profile);
    QFETCH(Rgb, colour);
    QFETCH(Rgb, expected);

    const auto transform = ColourTransform::create(profile, SourcePixels::Colour);
    QVERIFY(transform);
    std::vector<int> row = colourRow(colour);
    transform->convertRow(bytesOf(row), row.data(), int(row.size()));
    for (int pixel : row) {
        QVERIFY2(ColourMath::farthest(ColourMath::rgbOf(pixel), expected) <= 2,
                 qPrintable(QStringLiteral("got %1").arg(pixel, 8, 16, QChar('0'))));
        QCOMPARE(gdTrueColorGetAlpha(pixel), gdAlphaOpaque);
    }
}

void ColourTransformTest::tablesAgreeWithLittleCms_data()
{
    QTest::addColumn<QByteArray>("profile");

    // ProPhoto's primaries lie far outside sRGB, so its matrix is the widest a camera writes.
    const RgbSpace proPhoto{
        {0.7347, 0.2653}, {0.1596, 0.8404}, {0.0366, 0.0001}, {0.3457, 0.3585}, false, 1.8};
    QTest::newRow("Display P3") << rgbProfile(displayP3Space);
    QTest::newRow("Adobe RGB") << rgbProfile(adobeRgbSpace);
    QTest::newRow("ProPhoto RGB") << rgbProfile(proPhoto);
}

// Matrix-shaper profiles go through tables of our own; over the whole colour cube they give
// what Little CMS gives within one level.
void ColourTransformTest::tablesAgreeWithLittleCms()
{
    QFETCH(QByteArray, profile);

    const auto transform = ColourTransform::create(profile, SourcePixels::Colour);
    QVERIFY(transform);
    const Profile source(cmsOpenProfileFromMem(profile.data(), cmsUInt32Number(profile.size())));
    const Profile srgb(cmsCreate_sRGBProfile());
    const std::unique_ptr<void, void (*)(cmsHTRANSFORM)> reference(
        cmsCreateTransform(source.get(), TYPE_BGRA_8, srgb.get(), TYPE_BGRA_8, INTENT_PERCEPTUAL,
                           cmsFLAGS_NOCACHE),
        cmsDeleteTransform);
    QVERIFY(reference);
    std::vector<int> row;
    for (int red = 0; red < 256; red += 15)
        for (int green = 0; green < 256; green += 15)
            for (int blue = 0; blue < 256; blue += 15)
                row.push_back(gdTrueColor(red, green, blue));
    std::vector<int> expected(row.size());
    cmsDoTransform(reference.get(), row.data(), expected.data(), cmsUInt32Number(row.size()));
    std::vector<int> converted(row.size());
    transform->convertRow(bytesOf(row), converted.data(), int(row.size()));
    for (std::size_t index = 0; index < row.size(); ++index)
        QVERIFY2(ColourMath::farthest(ColourMath::rgbOf(converted[index]),
                                      ColourMath::rgbOf(expected[index])) <= 1,
                 qPrintable(QStringLiteral("%1 gave %2, Little CMS %3")
                                .arg(row[index], 6, 16, QChar('0'))
                                .arg(converted[index], 6, 16, QChar('0'))
                                .arg(expected[index] & 0xffffff, 6, 16, QChar('0'))));
}

void ColourTransformTest::srgbProfilesCostNothing_data()
{
    QTest::addColumn<QByteArray>("profile");

    QTest::newRow("built from sRGB's primaries") << rgbProfile(srgbSpace);
    const Profile builtIn(cmsCreate_sRGBProfile());
    QTest::newRow("Little CMS's own sRGB") << saved(builtIn.get());
}

void ColourTransformTest::srgbProfilesCostNothing()
{
    QFETCH(QByteArray, profile);

    QVERIFY(!ColourTransform::create(profile, SourcePixels::Colour));
    ColourTransforms transforms;
    QVERIFY(!transforms.conversionFor(SourcePixels::Colour, profile).changesPixels());
}

void ColourTransformTest::unusableProfilesAreIgnored_data()
{
    QTest::addColumn<QByteArray>("profile");
    QTest::addColumn<SourcePixels>("pixels");

    const QByteArray displayP3 = rgbProfile(displayP3Space);
    const auto row = [](const char* name, const QByteArray& profile, SourcePixels pixels) {
        QTest::newRow(name) << profile << pixels;
    };
    row("cut in half", displayP3.first(displayP3.size() / 2), SourcePixels::Colour);
    row("header only", displayP3.first(128), SourcePixels::Colour);
    row("tag table overwritten", withBytesChanged(displayP3, 132, 64, char(0xff)),
        SourcePixels::Colour);
    row("tag data overwritten", withBytesChanged(displayP3, 200, displayP3.size(), char(0x7f)),
        SourcePixels::Colour);
    row("no profile at all", QByteArray(600, char(0x5a)), SourcePixels::Colour);
    row("one byte", QByteArray(1, 'a'), SourcePixels::Colour);
    row("CMYK profile in a colour picture", cmykProfile(), SourcePixels::Colour);
    row("colour profile in a gray picture", displayP3, SourcePixels::Gray);
    row("gray profile in a colour picture", grayProfile(1.8), SourcePixels::Colour);
    row("damaged gray profile", grayProfile(1.8).first(140), SourcePixels::Gray);
}

void ColourTransformTest::unusableProfilesAreIgnored()
{
    QFETCH(QByteArray, profile);
    QFETCH(SourcePixels, pixels);

    QVERIFY(!ColourTransform::create(profile, pixels));
    ColourTransforms transforms;
    QVERIFY(!transforms.conversionFor(pixels, profile).changesPixels());
}

void ColourTransformTest::grayProfilesKeepPicturesGray_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("expected");

    for (int level : {0, 1, 20, 64, 128, 200, 254, 255})
        QTest::addRow("%d", level) << level << ColourMath::grayToSrgb(1.8, level);
}

void ColourTransformTest::grayProfilesKeepPicturesGray()
{
    QFETCH(int, level);
    QFETCH(int, expected);

    ColourTransforms transforms;
    const ColourConversion conversion =
        transforms.conversionFor(SourcePixels::Gray, grayProfile(1.8));
    QVERIFY(conversion.changesPixels());
    std::vector<int> row = colourRow({level, level, level});
    conversion.convertRow(bytesOf(row), row.data(), int(row.size()));
    for (int pixel : row) {
        const Rgb rgb = ColourMath::rgbOf(pixel);
        QCOMPARE(rgb[1], rgb[0]);
        QCOMPARE(rgb[2], rgb[0]);
        QVERIFY2(std::abs(rgb[0] - expected) <= 1, qPrintable(QString::number(rgb[0])));
        QCOMPARE(gdTrueColorGetAlpha(pixel), gdAlphaOpaque);
    }
}

void ColourTransformTest::inksWithoutProfileGiveTheirColour_data()
{
    QTest::addColumn<Inks>("inks");
    QTest::addColumn<Rgb>("expected");

    const auto row = [](const char* name, std::array<int, 4> inks, Rgb expected) {
        QTest::newRow(name) << inks << expected;
    };
    row("paper", {0, 0, 0, 0}, {255, 255, 255});
    row("cyan", {255, 0, 0, 0}, {0, 255, 255});
    row("magenta", {0, 255, 0, 0}, {255, 0, 255});
    row("yellow", {0, 0, 255, 0}, {255, 255, 0});
    row("black", {0, 0, 0, 255}, {0, 0, 0});
    row("all inks", {255, 255, 255, 255}, {0, 0, 0});
    // (255 - 51) x (255 - 51) / 255 = 163.2, 153 x 204 / 255 = 122.4, 102 x 204 / 255 = 81.6
    row("a brown", {51, 102, 153, 51}, {163, 122, 82});
    row("half black", {0, 0, 0, 128}, {127, 127, 127});
}

void ColourTransformTest::inksWithoutProfileGiveTheirColour()
{
    QFETCH(Inks, inks);
    QFETCH(Rgb, expected);

    ColourTransforms transforms;
    const ColourConversion plain = transforms.conversionFor(SourcePixels::Cmyk, {});
    const ColourConversion adobe = transforms.conversionFor(SourcePixels::InvertedCmyk, {});
    QVERIFY(plain.changesPixels());
    QVERIFY(adobe.changesPixels());
    const std::vector<unsigned char> stored = inkRow(inks);
    const std::vector<unsigned char> invertedStored =
        inkRow({255 - inks[0], 255 - inks[1], 255 - inks[2], 255 - inks[3]});
    std::vector<int> fromPlain(32, -1);
    std::vector<int> fromAdobe(32, -1);
    plain.convertRow(stored.data(), fromPlain.data(), 32);
    adobe.convertRow(invertedStored.data(), fromAdobe.data(), 32);
    for (int x = 0; x < 32; ++x) {
        QCOMPARE(ColourMath::rgbOf(fromPlain[x]), expected);
        QCOMPARE(fromAdobe[x], fromPlain[x]);
        QCOMPARE(gdTrueColorGetAlpha(fromPlain[x]), gdAlphaOpaque);
    }
}

void ColourTransformTest::inksThroughTheirProfile_data()
{
    QTest::addColumn<Inks>("inks");
    QTest::addColumn<Rgb>("expected");

    const auto row = [](const char* name, std::array<bool, 4> inks) {
        QTest::newRow(name) << std::array<int, 4>{inks[0] * 255, inks[1] * 255, inks[2] * 255,
                                                  inks[3] * 255}
                            << ColourMath::rounded(pressColour(inks));
    };
    row("paper", {false, false, false, false});
    row("cyan", {true, false, false, false});
    row("magenta", {false, true, false, false});
    row("red", {false, true, true, false});
}

void ColourTransformTest::inksThroughTheirProfile()
{
    QFETCH(Inks, inks);
    QFETCH(Rgb, expected);

    ColourTransforms transforms;
    const QByteArray profile = cmykProfile();
    const ColourConversion plain = transforms.conversionFor(SourcePixels::Cmyk, profile);
    const ColourConversion adobe = transforms.conversionFor(SourcePixels::InvertedCmyk, profile);
    const std::vector<unsigned char> stored = inkRow(inks);
    const std::vector<unsigned char> invertedStored =
        inkRow({255 - inks[0], 255 - inks[1], 255 - inks[2], 255 - inks[3]});
    std::vector<int> fromPlain(32);
    std::vector<int> fromAdobe(32);
    plain.convertRow(stored.data(), fromPlain.data(), 32);
    adobe.convertRow(invertedStored.data(), fromAdobe.data(), 32);
    const Rgb got = ColourMath::rgbOf(fromPlain[0]);
    QVERIFY2(ColourMath::farthest(got, expected) <= 3,
             qPrintable(QStringLiteral("%1 %2 %3").arg(got[0]).arg(got[1]).arg(got[2])));
    QCOMPARE(fromAdobe, fromPlain);
    QCOMPARE(gdTrueColorGetAlpha(fromPlain[0]), gdAlphaOpaque);
}

void ColourTransformTest::eachProfileIsBuiltOncePerRun()
{
    ColourTransforms transforms;
    const QByteArray displayP3 = rgbProfile(displayP3Space);
    transforms.conversionFor(SourcePixels::Colour, {});
    QCOMPARE(transforms.profilesMet(), 0);
    transforms.conversionFor(SourcePixels::Colour, displayP3);
    transforms.conversionFor(SourcePixels::Colour,
                             QByteArray(displayP3.constData(), displayP3.size()));
    QCOMPARE(transforms.profilesMet(), 1);
    transforms.conversionFor(SourcePixels::Colour, rgbProfile(adobeRgbSpace));
    transforms.conversionFor(SourcePixels::Colour, displayP3.first(100));
    transforms.conversionFor(SourcePixels::Colour, displayP3.first(100));
    QCOMPARE(transforms.profilesMet(), 3);
}

void ColourTransformTest::renderThreadsShareOneTransform_data()
{
    QTest::addColumn<QByteArray>("profile");

    QTest::newRow("colorants and curves") << rgbProfile(displayP3Space);
    QTest::newRow("lookup table, through Little CMS") << lookupTableProfile(displayP3Space);
}

void ColourTransformTest::renderThreadsShareOneTransform()
{
    QFETCH(QByteArray, profile);

    ColourTransforms transforms;
    const QByteArray& displayP3 = profile;
    const Rgb expected = ColourMath::toSrgb(displayP3Space, {204, 51, 51});
    const int threads = 4;
    std::latch start(threads);
    std::vector<std::vector<int>> rows(threads);
    std::vector<std::thread> workers;
    for (int index = 0; index < threads; ++index)
        workers.emplace_back([&, index] {
            start.arrive_and_wait();
            const ColourConversion conversion =
                transforms.conversionFor(SourcePixels::Colour, displayP3);
            std::vector<int>& row = rows[std::size_t(index)];
            for (int pass = 0; pass < 20; ++pass) {
                row = colourRow({204, 51, 51}, 4096);
                conversion.convertRow(bytesOf(row), row.data(), int(row.size()));
            }
        });
    for (std::thread& worker : workers)
        worker.join();
    QCOMPARE(transforms.profilesMet(), 1);
    for (const std::vector<int>& row : rows) {
        QCOMPARE(row, rows[0]);
        QVERIFY(ColourMath::farthest(ColourMath::rgbOf(row[0]), expected) <= 2);
    }
}

QTEST_APPLESS_MAIN(ColourTransformTest)
#include "tst_colourtransform.moc"
