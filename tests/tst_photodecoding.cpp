#include "ColourMath.h"
#include "PhotoPictures.h"
#include "TestPictures.h"

#include "imaging/ColourTransforms.h"
#include "imaging/JpegCodec.h"
#include "imaging/PictureDecoder.h"

#include <QTemporaryDir>
#include <QTest>

using namespace PhotoPictures;
using ColourMath::Rgb;

Q_DECLARE_METATYPE(PictureFormat)
Q_DECLARE_METATYPE(Rgb)
Q_DECLARE_METATYPE(heif_orientation)

namespace {

// The picture in a file of these bytes through the program's decoder, whole and upright.
GdImage decode(const QByteArray& bytes, ColourTransforms& transforms,
               const QString& name = QStringLiteral("photo"))
{
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    if (!TestPictures::write(path, bytes))
        return nullptr;
    PictureDecoder decoder(path, transforms);
    return decoder.decode(decoder.fullSize()).upright();
}

// Every pixel of the picture, with how far the farthest one lies from the colour.
int farthestFrom(const gdImage& image, Rgb colour)
{
    int farthest = 0;
    for (int y = 0; y < image.sy; ++y)
        for (int x = 0; x < image.sx; ++x)
            farthest = std::max(
                farthest, ColourMath::farthest(ColourMath::rgbOf(image.tpixels[y][x]), colour));
    return farthest;
}

QString describe(int pixel)
{
    const Rgb rgb = ColourMath::rgbOf(pixel);
    return QStringLiteral("%1,%2,%3 alpha %4")
        .arg(rgb[0])
        .arg(rgb[1])
        .arg(rgb[2])
        .arg(gdTrueColorGetAlpha(pixel));
}

} // namespace

class PhotoDecodingTest : public QObject
{
    Q_OBJECT

private slots:
    void taggedJpegsComeOutUpright_data();
    void taggedJpegsComeOutUpright();
    void jpegsComeOutInSrgb_data();
    void jpegsComeOutInSrgb();
    void grayJpegsStayGray_data();
    void grayJpegsStayGray();
    void heifPicturesComeOutUpright_data();
    void heifPicturesComeOutUpright();
    void heifProfileIsHonoured();
    void formatIsToldByContent_data();
    void formatIsToldByContent();
    void filesAreReadByContentNotName_data();
    void filesAreReadByContentNotName();
    void outputsCarryNoMetadata_data();
    void outputsCarryNoMetadata();
    void renamedOriginalsKeepTheirType_data();
    void renamedOriginalsKeepTheirType();
};

void PhotoDecodingTest::taggedJpegsComeOutUpright_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QList<int>>("corners");

    const QByteArray stored = quartersJpeg(96, 64);
    const QList<QList<int>>& corners = uprightCorners;
    for (int value = 1; value <= 8; ++value)
        QTest::addRow("orientation %d", value)
            << withExif(stored, ExifBlock().orientation(value))
            << (value >= 5 ? QSize(64, 96) : QSize(96, 64)) << corners[value - 1];
    QTest::newRow("no EXIF") << stored << QSize(96, 64) << corners[0];
    QTest::newRow("out of range") << withExif(stored, ExifBlock().orientation(10)) << QSize(96, 64)
                                  << corners[0];
    QTest::newRow("after an XMP block")
        << withSegment(withExif(stored, ExifBlock().orientation(6)), 0xe1, xmpPayload())
        << QSize(64, 96) << corners[5];
}

void PhotoDecodingTest::taggedJpegsComeOutUpright()
{
    QFETCH(QByteArray, file);
    QFETCH(QSize, size);
    QFETCH(QList<int>, corners);

    ColourTransforms transforms;
    const GdImage upright = decode(file, transforms);
    QVERIFY(upright);
    QCOMPARE(QSize(upright->sx, upright->sy), size);
    QCOMPARE(cornerQuarters(*upright, 2, 8), corners);
}

void PhotoDecodingTest::jpegsComeOutInSrgb_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Rgb>("expected");

    const Rgb colour{204, 51, 51};
    const Pixels red = patch(32, 16, {colour[0], colour[1], colour[2]});
    QTest::newRow("Display P3") << jpeg(red, JCS_RGB, {rgbProfile(displayP3Space)})
                                << ColourMath::toSrgb(displayP3Space, colour);
    QTest::newRow("Adobe RGB") << jpeg(red, JCS_RGB, {rgbProfile(adobeRgbSpace)})
                               << ColourMath::toSrgb(adobeRgbSpace, colour);
    const QByteArray damaged = rgbProfile(displayP3Space).first(300);
    QTest::newRow("damaged profile") << jpeg(red, JCS_RGB, {damaged}) << colour;
    QTest::newRow("sRGB profile") << jpeg(red, JCS_RGB, {rgbProfile(srgbSpace)}) << colour;
    QTest::newRow("no profile") << jpeg(red, JCS_RGB) << colour;
    QTest::newRow("Display P3, upright")
        << withExif(jpeg(red, JCS_RGB, {rgbProfile(displayP3Space)}), ExifBlock().orientation(6))
        << ColourMath::toSrgb(displayP3Space, colour);

    // CMYK, plain and inverted as editors write it.
    const Pixels brown = patch(24, 16, {51, 102, 153, 51});
    QTest::newRow("CMYK") << jpeg(brown, JCS_CMYK) << Rgb{163, 122, 82};
    QTest::newRow("inverted CMYK")
        << jpeg(inverted(brown), JCS_CMYK, {{}, true}) << Rgb{163, 122, 82};
    const Rgb pressRed = ColourMath::rounded(pressColour({false, true, true, false}));
    const Pixels redInks = patch(24, 16, {0, 255, 255, 0});
    QTest::newRow("CMYK through its profile")
        << jpeg(redInks, JCS_CMYK, {cmykProfile()}) << pressRed;
    QTest::newRow("inverted CMYK through its profile")
        << jpeg(inverted(redInks), JCS_CMYK, {cmykProfile(), true}) << pressRed;
    QTest::newRow("CMYK with a damaged profile")
        << jpeg(brown, JCS_CMYK, {cmykProfile().first(200)}) << Rgb{163, 122, 82};
}

void PhotoDecodingTest::jpegsComeOutInSrgb()
{
    QFETCH(QByteArray, file);
    QFETCH(Rgb, expected);

    ColourTransforms transforms;
    const GdImage picture = decode(file, transforms);
    QVERIFY(picture);
    QVERIFY2(farthestFrom(*picture, expected) <= 3, qPrintable(describe(picture->tpixels[0][0])));
    QCOMPARE(gdTrueColorGetAlpha(picture->tpixels[0][0]), gdAlphaOpaque);
}

void PhotoDecodingTest::grayJpegsStayGray_data()
{
    QTest::addColumn<QByteArray>("profile");
    QTest::addColumn<QList<int>>("expected");

    const QList<int> levels = {0, 60, 128, 200, 255};
    QTest::newRow("no profile") << QByteArray() << levels;
    QList<int> gamma18;
    for (int level : levels)
        gamma18 << ColourMath::grayToSrgb(1.8, level);
    QTest::newRow("gray with a 1.8 tone curve") << grayProfile(1.8) << gamma18;
}

void PhotoDecodingTest::grayJpegsStayGray()
{
    QFETCH(QByteArray, profile);
    QFETCH(QList<int>, expected);

    // Five bands of gray, eight pixels each, so every band is whole JPEG blocks.
    const QList<int> levels = {0, 60, 128, 200, 255};
    Pixels bands(40, 8, 1);
    for (int band = 0; band < 5; ++band)
        bands.fill(band * 8, 0, band * 8 + 8, 8, {levels[band]});
    ColourTransforms transforms;
    const GdImage picture = decode(jpeg(bands, JCS_GRAYSCALE, {profile}), transforms);
    QVERIFY(picture);
    for (int y = 0; y < picture->sy; ++y)
        for (int x = 0; x < picture->sx; ++x) {
            const Rgb rgb = ColourMath::rgbOf(picture->tpixels[y][x]);
            QCOMPARE(rgb[1], rgb[0]);
            QCOMPARE(rgb[2], rgb[0]);
            QVERIFY2(std::abs(rgb[0] - expected[x / 8]) <= 1,
                     qPrintable(describe(picture->tpixels[y][x])));
        }
}

void PhotoDecodingTest::heifPicturesComeOutUpright_data()
{
    QTest::addColumn<heif_orientation>("orientation");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QList<int>>("corners");

    QTest::newRow("as stored") << heif_orientation_normal << QSize(128, 64) << QList{0, 1, 2, 3};
    QTest::newRow("held upright") << heif_orientation_rotate_90_cw << QSize(64, 128)
                                  << QList{2, 0, 3, 1};
    QTest::newRow("mirrored") << heif_orientation_flip_horizontally << QSize(128, 64)
                              << QList{1, 0, 3, 2};
    QTest::newRow("turned left") << heif_orientation_rotate_270_cw << QSize(64, 128)
                                 << QList{1, 3, 0, 2};
}

void PhotoDecodingTest::heifPicturesComeOutUpright()
{
    QFETCH(heif_orientation, orientation);
    QFETCH(QSize, size);
    QFETCH(QList<int>, corners);

    // A phone's HEIC also carries the EXIF tag; libheif has turned the picture already, so
    // the tag must not turn it again.
    const QByteArray file = heic(*quarters(128, 64), orientation);
    QCOMPARE(sniffPictureFormat(file), PictureFormat::Heif);
    ColourTransforms transforms;
    const GdImage upright = decode(file, transforms);
    QVERIFY(upright);
    QCOMPARE(QSize(upright->sx, upright->sy), size);
    QCOMPARE(cornerQuarters(*upright, 8, 24), corners);
}

void PhotoDecodingTest::heifProfileIsHonoured()
{
    const Rgb colour{204, 51, 51};
    const GdImage red = TestPictures::draw(QSize(64, 64));
    gdImageFilledRectangle(red.get(), 0, 0, 63, 63, gdTrueColor(colour[0], colour[1], colour[2]));
    ColourTransforms transforms;
    const GdImage plain = decode(heic(*red, heif_orientation_normal), transforms);
    const GdImage wide =
        decode(heic(*red, heif_orientation_normal, rgbProfile(displayP3Space)), transforms);
    QVERIFY(plain);
    QVERIFY(wide);
    // HEVC keeps a flat colour within a few levels; the profile moves it much farther.
    const Rgb expected = ColourMath::toSrgb(displayP3Space, colour);
    QVERIFY2(ColourMath::farthest(ColourMath::rgbOf(plain->tpixels[32][32]), colour) <= 6,
             qPrintable(describe(plain->tpixels[32][32])));
    QVERIFY2(ColourMath::farthest(ColourMath::rgbOf(wide->tpixels[32][32]), expected) <= 6,
             qPrintable(describe(wide->tpixels[32][32])));
    QVERIFY(ColourMath::farthest(expected, colour) > 20);
}

void PhotoDecodingTest::formatIsToldByContent_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<PictureFormat>("format");

    const auto ftyp = [](const char* major, QList<const char*> compatible) {
        QByteArray box(4, '\0');
        box += "ftyp";
        box += major;
        box += QByteArray(4, '\0');
        for (const char* brand : compatible)
            box += brand;
        box[3] = char(box.size());
        return box + QByteArray(16, '\0');
    };
    QTest::newRow("JPEG") << TestPictures::jpeg(QSize(8, 8)) << PictureFormat::Jpeg;
    QTest::newRow("HEIC") << ftyp("heic", {"mif1", "heic"}) << PictureFormat::Heif;
    QTest::newRow("HEIF by its generic brand") << ftyp("mif1", {"mif1"}) << PictureFormat::Heif;
    QTest::newRow("HEIF brand listed as compatible")
        << ftyp("xyzw", {"isom", "heix"}) << PictureFormat::Heif;
    QTest::newRow("MP4 video") << ftyp("isom", {"isom", "mp41"}) << PictureFormat::Other;
    QTest::newRow("brand beyond the box")
        << ftyp("isom", {"isom"}).replace(24, 4, "heic") << PictureFormat::Other;
    QTest::newRow("box too short") << QByteArray("\0\0\0\x08"
                                                 "ftypheic",
                                                 12)
                                   << PictureFormat::Other;
    QTest::newRow("cut short") << QByteArray("\0\0\0\x18"
                                             "ftyphe",
                                             10)
                               << PictureFormat::Other;
    QTest::newRow("PNG") << TestPictures::png(QSize(8, 8)) << PictureFormat::Other;
    QTest::newRow("JPEG start only") << QByteArray("\xff\xd8", 2) << PictureFormat::Other;
    QTest::newRow("empty") << QByteArray() << PictureFormat::Other;
    QTest::newRow("real HEIC") << heic(*quarters(16, 16), heif_orientation_normal)
                               << PictureFormat::Heif;
}

void PhotoDecodingTest::formatIsToldByContent()
{
    QFETCH(QByteArray, head);
    QFETCH(PictureFormat, format);

    QCOMPARE(sniffPictureFormat(QByteArrayView(head).first(std::min<qsizetype>(64, head.size()))),
             format);
}

void PhotoDecodingTest::filesAreReadByContentNotName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("decodes");

    const QByteArray jpegFile = quartersJpeg(32, 16);
    const QByteArray heicFile = heic(*quarters(32, 16), heif_orientation_normal);
    QTest::newRow("JPEG named .heic") << "IMG_0001.heic" << jpegFile << true;
    QTest::newRow("HEIC named .jpg") << "IMG_0002.jpg" << heicFile << true;
    QTest::newRow("HEIC named .HEIC") << "IMG_0003.HEIC" << heicFile << true;
    QTest::newRow("PNG named .jpg") << "IMG_0004.jpg" << TestPictures::png(QSize(32, 16)) << false;
    QTest::newRow("HEIC cut short")
        << "IMG_0005.heic" << heicFile.first(heicFile.size() / 2) << false;
}

void PhotoDecodingTest::filesAreReadByContentNotName()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(bool, decodes);

    ColourTransforms transforms;
    const GdImage picture = decode(content, transforms, name);
    QCOMPARE(bool(picture), decodes);
    if (decodes) {
        QCOMPARE(QSize(picture->sx, picture->sy), QSize(32, 16));
        QCOMPARE(cornerQuarters(*picture, 2, 24), QList({0, 1, 2, 3}));
    }
}

void PhotoDecodingTest::outputsCarryNoMetadata_data()
{
    QTest::addColumn<QByteArray>("source");

    QTest::newRow("phone JPEG") << phonePhoto();
    QTest::newRow("HEIC") << heic(*quarters(64, 48), heif_orientation_rotate_90_cw);
}

void PhotoDecodingTest::outputsCarryNoMetadata()
{
    QFETCH(QByteArray, source);

    if (sniffPictureFormat(source) == PictureFormat::Jpeg)
        QCOMPARE(metadataBlocks(source), QStringList({"EXIF", "XMP"}));
    ColourTransforms transforms;
    const GdImage picture = decode(source, transforms);
    QVERIFY(picture);
    QTemporaryDir dir;
    const QString output = dir.filePath("beach01_t.jpg");
    QVERIFY(SaveJpegFile(output, picture.get(), 85));
    const QByteArray written = TestPictures::read(output);
    QCOMPARE(metadataBlocks(written), QStringList());
    QVERIFY(!written.contains("SERIAL-0042"));
    QVERIFY(!written.contains("Phone maker"));
}

void PhotoDecodingTest::renamedOriginalsKeepTheirType_data()
{
    QTest::addColumn<PictureFormat>("format");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("suffix");

    QTest::newRow("JPEG") << PictureFormat::Jpeg << "IMG_0001.JPG"
                          << ".jpg";
    QTest::newRow("JPEG named .heic") << PictureFormat::Jpeg << "IMG_0001.heic"
                                      << ".jpg";
    QTest::newRow("HEIC from a phone") << PictureFormat::Heif << "IMG_0002.HEIC"
                                       << ".HEIC";
    QTest::newRow("HEIF") << PictureFormat::Heif << "scan.heif"
                          << ".heif";
    QTest::newRow("HEIC named .jpg") << PictureFormat::Heif << "IMG_0003.jpg"
                                     << ".heic";
    QTest::newRow("HEIC without a suffix") << PictureFormat::Heif << "IMG_0004"
                                           << ".heic";
    QTest::newRow("suffix in the folder only") << PictureFormat::Heif << "photos.heif/IMG_0005"
                                               << ".heic";
}

void PhotoDecodingTest::renamedOriginalsKeepTheirType()
{
    QFETCH(PictureFormat, format);
    QFETCH(QString, name);
    QFETCH(QString, suffix);

    QCOMPARE(originalFileSuffix(format, name), suffix);
}

QTEST_APPLESS_MAIN(PhotoDecodingTest)
#include "tst_photodecoding.moc"
