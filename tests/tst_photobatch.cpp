#include "ColourMath.h"
#include "PhotoPictures.h"
#include "QuietObserver.h"
#include "TestPictures.h"

#include "imaging/ImageBatch.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace PhotoPictures;
using ColourMath::Rgb;

Q_DECLARE_METATYPE(Rgb)

namespace {

// Only what a photograph's way through the run changes: renames and unreadable rows.
class PhotoObserver : public QuietObserver
{
public:
    void message(const QString& text) override { events << "message " + text; }
    void renamed(int row, const QString& newPath) override
    {
        events << QStringLiteral("renamed %1 %2").arg(row).arg(QFileInfo(newPath).fileName());
    }
    void notRenamed(int row, const QString&, std::error_code) override
    {
        events << QStringLiteral("notRenamed %1").arg(row);
    }
    void unreadable(int row, const QString&, DecodeFailure) override
    {
        events << QStringLiteral("unreadable %1").arg(row);
    }
    void notWritten(int row, const QString& path, const OutputFailure&) override
    {
        events << QStringLiteral("notWritten %1 %2").arg(row).arg(path);
    }

    QStringList events;
};

// The colour in the middle of the picture, where a flat patch is flattest.
Rgb middle(const gdImage& image)
{
    return ColourMath::rgbOf(image.tpixels[image.sy / 2][image.sx / 2]);
}

QString describe(Rgb rgb)
{
    return QStringLiteral("%1,%2,%3").arg(rgb[0]).arg(rgb[1]).arg(rgb[2]);
}

} // namespace

// Photographs as phones, cameras and editors write them, through the whole run: outputs
// upright and in sRGB, without metadata, and renamed originals that keep their type.
class PhotoBatchTest : public QObject
{
    Q_OBJECT

private:
    QString photo(const QString& name) const { return m_dir.filePath("photos/" + name); }
    QByteArray thumbnail(const QString& name) const
    {
        return TestPictures::read(m_dir.filePath("thumbs/" + name + "_t.jpg"));
    }
    QByteArray largeImage(const QString& name) const
    {
        return TestPictures::read(m_dir.filePath("images/" + name + ".jpg"));
    }

    void addPhoto(const QString& name, const QByteArray& bytes)
    {
        QVERIFY(TestPictures::write(photo(name), bytes));
        BatchRow row;
        row.entry.SetPath(photo(name));
        row.group = QStringLiteral("1");
        m_rows.push_back(row);
    }
    void run() { GenerateImages(m_rows, m_groupText, m_settings, m_observer); }

    QTemporaryDir m_dir;
    std::vector<BatchRow> m_rows;
    std::array<QString, 5> m_groupText;
    ImageSettings m_settings;
    PhotoObserver m_observer;

private slots:
    void init();

    void turnsEveryOrientationUpright_data();
    void turnsEveryOrientationUpright();
    void convertsColoursToSrgb_data();
    void convertsColoursToSrgb();
    void grayPhotosGiveGrayOutputs_data();
    void grayPhotosGiveGrayOutputs();
    void readsPicturesByContent_data();
    void readsPicturesByContent();
    void outputsCarryNoMetadata();
    void renamedOriginalsKeepTheirType_data();
    void renamedOriginalsKeepTheirType();
};

void PhotoBatchTest::init()
{
    // The user's data folder, where renames are recorded.
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath("data")));
    for (const char* folder : {"photos", "thumbs", "images"}) {
        QDir(m_dir.filePath(folder)).removeRecursively();
        QVERIFY(QDir(m_dir.path()).mkdir(folder));
    }
    m_rows.clear();
    m_observer = PhotoObserver();
    m_groupText = {"beach"};
    m_settings = ImageSettings();
    m_settings.thumbnail.SaveDir = m_dir.filePath("thumbs");
    m_settings.thumbnail.UseWidth = 1;
    m_settings.thumbnail.Width = 160;
    m_settings.thumbnail.Quality = 95;
    m_settings.thumbnail.Extension = QStringLiteral("_t");
    m_settings.large.SaveDir = m_dir.filePath("images");
    m_settings.large.UseHeight = 1;
    m_settings.large.Height = 100;
    m_settings.large.Quality = 95;
}

void PhotoBatchTest::turnsEveryOrientationUpright_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QSize>("thumbnailSize");
    QTest::addColumn<QSize>("largeSize");
    QTest::addColumn<QList<int>>("corners");

    // Large enough that the outputs are scaled from a reduced decode, which is then turned.
    const QByteArray stored = quartersJpeg(1600, 1200, 90);
    for (int value = 1; value <= 8; ++value) {
        const bool turned = value >= 5;
        QTest::addRow("orientation %d", value)
            << withExif(stored, ExifBlock().orientation(value))
            << (turned ? QSize(160, 213) : QSize(160, 120))
            << (turned ? QSize(74, 100) : QSize(133, 100)) << uprightCorners[value - 1];
    }
    QTest::newRow("no EXIF") << stored << QSize(160, 120) << QSize(133, 100) << uprightCorners[0];
    QTest::newRow("tag out of range") << withExif(stored, ExifBlock().orientation(9))
                                      << QSize(160, 120) << QSize(133, 100) << uprightCorners[0];
    QTest::newRow("big-endian EXIF")
        << withExif(stored, ExifBlock(EXIF_BYTE_ORDER_MOTOROLA).orientation(8)) << QSize(160, 213)
        << QSize(74, 100) << uprightCorners[7];
    QTest::newRow("a 4000 x 3000 phone photo held upright")
        << withExif(quartersJpeg(4000, 3000, 80), ExifBlock().orientation(6)) << QSize(160, 213)
        << QSize(74, 100) << uprightCorners[5];
}

void PhotoBatchTest::turnsEveryOrientationUpright()
{
    QFETCH(QByteArray, file);
    QFETCH(QList<int>, corners);

    addPhoto(QStringLiteral("IMG_0001.jpg"), file);
    run();
    QCOMPARE(m_observer.events, QStringList());
    const GdImage thumb = readJpeg(thumbnail("beach01"));
    const GdImage large = readJpeg(largeImage("beach01"));
    QTEST(sizeOf(thumb), "thumbnailSize");
    QTEST(sizeOf(large), "largeSize");
    QCOMPARE(cornerQuarters(*thumb, 3, 24), corners);
    QCOMPARE(cornerQuarters(*large, 3, 24), corners);
    // Outputs stand upright by their pixels alone: nothing tells a viewer to turn them again.
    QCOMPARE(metadataBlocks(thumbnail("beach01")), QStringList());
}

void PhotoBatchTest::convertsColoursToSrgb_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Rgb>("expected");

    const Rgb colour{204, 51, 51};
    const Pixels red = patch(400, 300, {colour[0], colour[1], colour[2]});
    const Rgb fromP3 = ColourMath::toSrgb(displayP3Space, colour);
    QTest::newRow("Display P3") << jpeg(red, JCS_RGB, {rgbProfile(displayP3Space)}) << fromP3;
    QTest::newRow("Display P3, held upright")
        << withExif(jpeg(red, JCS_RGB, {rgbProfile(displayP3Space)}), ExifBlock().orientation(6))
        << fromP3;
    QTest::newRow("Display P3 as a lookup table")
        << jpeg(red, JCS_RGB, {lookupTableProfile(displayP3Space)}) << fromP3;
    QTest::newRow("Adobe RGB") << jpeg(red, JCS_RGB, {rgbProfile(adobeRgbSpace)})
                               << ColourMath::toSrgb(adobeRgbSpace, colour);
    QTest::newRow("damaged profile")
        << jpeg(red, JCS_RGB, {rgbProfile(displayP3Space).first(300)}) << colour;
    QTest::newRow("a CMYK profile in a colour photo")
        << jpeg(red, JCS_RGB, {cmykProfile()}) << colour;
    QTest::newRow("sRGB profile") << jpeg(red, JCS_RGB, {rgbProfile(srgbSpace)}) << colour;
    QTest::newRow("no profile") << jpeg(red, JCS_RGB) << colour;

    // Cyan, magenta, yellow and black inks of 20, 40, 60 and 20 % print a brown.
    const Pixels brown = patch(400, 300, {51, 102, 153, 51});
    const Rgb plainBrown{163, 122, 82};
    QTest::newRow("CMYK") << jpeg(brown, JCS_CMYK) << plainBrown;
    QTest::newRow("inverted CMYK, as editors write it")
        << jpeg(inverted(brown), JCS_CMYK, {{}, true}) << plainBrown;
    QTest::newRow("CMYK with a damaged profile")
        << jpeg(brown, JCS_CMYK, {cmykProfile().first(200)}) << plainBrown;
    const Pixels redInks = patch(400, 300, {0, 255, 255, 0});
    const Rgb pressRed = ColourMath::rounded(pressColour({false, true, true, false}));
    QTest::newRow("CMYK through its profile")
        << jpeg(redInks, JCS_CMYK, {cmykProfile()}) << pressRed;
    QTest::newRow("inverted CMYK through its profile")
        << jpeg(inverted(redInks), JCS_CMYK, {cmykProfile(), true}) << pressRed;
}

void PhotoBatchTest::convertsColoursToSrgb()
{
    QFETCH(QByteArray, file);
    QFETCH(Rgb, expected);

    addPhoto(QStringLiteral("IMG_0001.jpg"), file);
    run();
    QCOMPARE(m_observer.events, QStringList());
    for (const QByteArray& output : {thumbnail("beach01"), largeImage("beach01")}) {
        const GdImage picture = readJpeg(output);
        QVERIFY(picture);
        QVERIFY2(ColourMath::farthest(middle(*picture), expected) <= 4,
                 qPrintable(describe(middle(*picture)) + " for " + describe(expected)));
        // sRGB is what a browser takes a picture without a profile for.
        for (const Segment& segment : jpegSegments(output))
            QVERIFY(segment.marker != 0xe2);
    }
}

void PhotoBatchTest::grayPhotosGiveGrayOutputs_data()
{
    QTest::addColumn<QByteArray>("profile");
    QTest::addColumn<int>("expected");

    QTest::newRow("no profile") << QByteArray() << 100;
    QTest::newRow("a 1.8 tone curve") << grayProfile(1.8) << ColourMath::grayToSrgb(1.8, 100);
    QTest::newRow("damaged profile") << grayProfile(1.8).first(100) << 100;
}

void PhotoBatchTest::grayPhotosGiveGrayOutputs()
{
    QFETCH(QByteArray, profile);
    QFETCH(int, expected);

    addPhoto(QStringLiteral("IMG_0001.jpg"),
             jpeg(patch(400, 300, {100}), JCS_GRAYSCALE, {profile}));
    run();
    const GdImage thumb = readJpeg(thumbnail("beach01"));
    QVERIFY(thumb);
    for (int y = 0; y < thumb->sy; y += 7)
        for (int x = 0; x < thumb->sx; x += 7) {
            const Rgb rgb = ColourMath::rgbOf(thumb->tpixels[y][x]);
            QVERIFY2(rgb[0] == rgb[1] && rgb[1] == rgb[2] && std::abs(rgb[0] - expected) <= 1,
                     qPrintable(describe(rgb)));
        }
}

void PhotoBatchTest::readsPicturesByContent_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QSize>("thumbnailSize");
    QTest::addColumn<QList<int>>("corners");

    const GdImage stored = quarters(640, 480);
    const QByteArray plain = heic(*stored, heif_orientation_normal);
    const QByteArray upright = heic(*stored, heif_orientation_rotate_90_cw);
    QTest::newRow("HEIC") << "IMG_0001.HEIC" << plain << QSize(160, 120) << uprightCorners[0];
    // The container turns it; the EXIF tag inside says the same and must not turn it again.
    QTest::newRow("HEIC held upright")
        << "IMG_0002.HEIC" << upright << QSize(160, 213) << uprightCorners[5];
    QTest::newRow("HEIC named .jpg")
        << "IMG_0003.jpg" << upright << QSize(160, 213) << uprightCorners[5];
    QTest::newRow("JPEG named .heic")
        << "IMG_0004.heic" << withExif(quartersJpeg(640, 480), ExifBlock().orientation(8))
        << QSize(160, 213) << uprightCorners[7];
    QTest::newRow("HEIC with a Display P3 profile")
        << "IMG_0005.heif" << heic(*stored, heif_orientation_normal, rgbProfile(displayP3Space))
        << QSize(160, 120) << uprightCorners[0];
}

void PhotoBatchTest::readsPicturesByContent()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, file);
    QFETCH(QList<int>, corners);

    addPhoto(name, file);
    run();
    QCOMPARE(m_observer.events, QStringList());
    const GdImage thumb = readJpeg(thumbnail("beach01"));
    QTEST(sizeOf(thumb), "thumbnailSize");
    QCOMPARE(cornerQuarters(*thumb, 3, 32), corners);
    QVERIFY(readJpeg(largeImage("beach01")));
}

// Outputs are published: nothing of where a photo was taken, or with which camera, goes
// with them. The originals keep everything.
void PhotoBatchTest::outputsCarryNoMetadata()
{
    const QByteArray phone = phonePhoto(640, 480);
    addPhoto(QStringLiteral("IMG_0001.jpg"), phone);
    addPhoto(QStringLiteral("IMG_0002.HEIC"),
             heic(*quarters(640, 480), heif_orientation_rotate_90_cw, rgbProfile(displayP3Space)));
    addPhoto(QStringLiteral("IMG_0003.jpg"),
             jpeg(patch(400, 300, {204, 51, 51}), JCS_RGB, {rgbProfile(displayP3Space)}));
    const QByteArray heif = TestPictures::read(photo("IMG_0002.HEIC"));
    QVERIFY(heif.contains("Exif"));
    run();
    QCOMPARE(m_observer.events, QStringList());

    int outputs = 0;
    for (const char* folder : {"thumbs", "images"})
        for (const QFileInfo& file : QDir(m_dir.filePath(folder)).entryInfoList(QDir::Files)) {
            const QByteArray written = TestPictures::read(file.filePath());
            QCOMPARE(metadataBlocks(written), QStringList());
            for (const char* personal : {"SERIAL-0042", "Phone maker", "Phone 12", "xmpmeta"})
                QVERIFY2(!written.contains(personal), personal);
            ++outputs;
        }
    QCOMPARE(outputs, 6);
    QCOMPARE(TestPictures::read(photo("IMG_0001.jpg")), phone);
    QCOMPARE(TestPictures::read(photo("IMG_0002.HEIC")), heif);
}

void PhotoBatchTest::renamedOriginalsKeepTheirType_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("renamed");

    const QByteArray jpegFile = quartersJpeg(64, 48);
    const QByteArray heicFile = heic(*quarters(64, 48), heif_orientation_normal);
    QTest::newRow("JPEG") << "IMG_0001.JPG" << jpegFile << "beach01_orig.jpg";
    QTest::newRow("HEIC from a phone") << "IMG_0002.HEIC" << heicFile << "beach01_orig.HEIC";
    QTest::newRow("HEIF") << "scan.heif" << heicFile << "beach01_orig.heif";
    QTest::newRow("HEIC named .jpg") << "IMG_0003.jpg" << heicFile << "beach01_orig.heic";
    QTest::newRow("JPEG named .heic") << "IMG_0004.heic" << jpegFile << "beach01_orig.jpg";
}

void PhotoBatchTest::renamedOriginalsKeepTheirType()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, file);
    QFETCH(QString, renamed);

    m_settings.RenameOriginalFile = 1;
    m_settings.OriginalExtension = QStringLiteral("_orig");
    addPhoto(name, file);
    run();
    QCOMPARE(m_observer.events, QStringList({"renamed 0 " + renamed}));
    QCOMPARE(TestPictures::read(photo(renamed)), file);
    QCOMPARE(QDir(m_dir.filePath("thumbs")).entryList(QDir::Files), QStringList({"beach01_t.jpg"}));
    QCOMPARE(QDir(m_dir.filePath("images")).entryList(QDir::Files), QStringList({"beach01.jpg"}));
}

QTEST_GUILESS_MAIN(PhotoBatchTest)
#include "tst_photobatch.moc"
