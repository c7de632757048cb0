#include "JpegWriter.h"
#include "PhotoPictures.h"
#include "TestPictures.h"

#include "imaging/PictureFacts.h"
#include "imaging/RowPictures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtConcurrent>

#include <sys/stat.h>

using namespace PhotoPictures;

Q_DECLARE_METATYPE(PictureFormat)

namespace {

QDateTime at(const char* text)
{
    QDateTime time = QDateTime::fromString(QString::fromLatin1(text), Qt::ISODateWithMs);
    time.setTimeSpec(Qt::UTC);
    return time;
}

QByteArray withExifDate(const QByteArray& jpeg, const char* date)
{
    ExifBlock exif;
    exif.dateTaken(date);
    return withExif(jpeg, exif);
}

// A row picture's pixel, as the window reads it.
int pixelAt(const RowPicture& picture, int x, int y)
{
    const auto* rgb = reinterpret_cast<const unsigned char*>(picture.rgb.constData()) +
                      3 * (qsizetype(y) * picture.size.width() + x);
    return rgb[0] << 16 | rgb[1] << 8 | rgb[2];
}

// The quarter each corner of a row picture shows, as PhotoPictures::cornerQuarters tells it.
QList<int> cornersOf(const RowPicture& picture, int inset = 2)
{
    const GdImage image(gdImageCreateTrueColor(picture.size.width(), picture.size.height()));
    for (int y = 0; y < picture.size.height(); ++y)
        for (int x = 0; x < picture.size.width(); ++x)
            image->tpixels[y][x] = pixelAt(picture, x, y);
    return cornerQuarters(*image, inset, 40);
}

// A photograph of one flat gray whose EXIF thumbnail shows the quarters: what the row
// picture shows tells which of the two it was made from.
QByteArray grayWithQuartersThumbnail(QSize stored, QSize thumbnail, int orientation)
{
    ExifBlock exif;
    exif.orientation(orientation)
        .thumbnail(quartersJpeg(thumbnail.width(), thumbnail.height(), 90));
    return withExif(JpegWriter::flat(stored, JCS_RGB, QByteArray("\x80\x80\x80", 3)), exif);
}

} // namespace

// What the list reads of a picture without decoding it, and its row picture.
class PictureFactsTest : public QObject
{
    Q_OBJECT

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QString file(const QString& name, const QByteArray& bytes)
    {
        if (!TestPictures::write(path(name), bytes))
            qFatal("cannot write %s", qPrintable(name));
        return path(name);
    }

    QTemporaryDir m_dir;

private slots:
    void readsSizeAndDateFromTheHeader_data();
    void readsSizeAndDateFromTheHeader();
    void tellsTheFileTime();
    void neverWaitsOnAFileThatIsNoPicture();
    void rowPictureIsTheUprightExifThumbnail_data();
    void rowPictureIsTheUprightExifThumbnail();
    void rowPictureDecodesWithoutAThumbnail_data();
    void rowPictureDecodesWithoutAThumbnail();
    void rowPictureOfAHeic();
    void noRowPictureOfWhatCannotBeRead_data();
    void noRowPictureOfWhatCannotBeRead();
    void rowPicturesOnManyThreadsAreTheSame();
};

void PictureFactsTest::readsSizeAndDateFromTheHeader_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<PictureFormat>("format");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QDateTime>("taken"); // invalid: none

    const QByteArray plain = TestPictures::jpeg(QSize(64, 48));
    const QDateTime none;
    const PictureFormat jpeg = PictureFormat::Jpeg;

    QTest::newRow("no EXIF") << plain << true << jpeg << QSize(64, 48) << none;
    QTest::newRow("date") << withExifDate(plain, "2023:07:14 10:20:30") << true << jpeg
                          << QSize(64, 48) << at("2023-07-14T10:20:30.000");
    ExifBlock fraction;
    fraction.dateTaken("2023:07:14 10:20:30")
        .textTag(EXIF_IFD_EXIF, EXIF_TAG_SUB_SEC_TIME_ORIGINAL, "25 ");
    QTest::newRow("fraction of a second") << withExif(plain, fraction) << true << jpeg
                                          << QSize(64, 48) << at("2023-07-14T10:20:30.250");
    ExifBlock bigEndian(EXIF_BYTE_ORDER_MOTOROLA);
    bigEndian.dateTaken("1999:12:31 23:59:59").orientation(6);
    QTest::newRow("big-endian, turned") << withExif(plain, bigEndian) << true << jpeg
                                        << QSize(48, 64) << at("1999-12-31T23:59:59.000");
    QTest::newRow("a clock never set")
        << withExifDate(plain, "0000:00:00 00:00:00") << true << jpeg << QSize(64, 48) << none;
    QTest::newRow("blank date") << withExifDate(plain, "    :  :     :  :  ") << true << jpeg
                                << QSize(64, 48) << none;
    QTest::newRow("no such day") << withExifDate(plain, "2023:02:30 10:00:00") << true << jpeg
                                 << QSize(64, 48) << none;
    ExifBlock changed;
    changed.textTag(EXIF_IFD_0, EXIF_TAG_DATE_TIME, "2024:01:01 00:00:00");
    QTest::newRow("only the time it was changed")
        << withExif(plain, changed) << true << jpeg << QSize(64, 48) << none;
    QTest::newRow("XMP before EXIF")
        << withSegment(withExifDate(plain, "2020:05:06 07:08:09"), 0xe1, xmpPayload()) << true
        << jpeg << QSize(64, 48) << at("2020-05-06T07:08:09.000");
    QTest::newRow("damaged EXIF") << withSegment(plain, 0xe1, QByteArray("Exif\0\0MM\0*\xff", 11))
                                  << true << jpeg << QSize(64, 48) << none;

    ExifBlock phone;
    phone.orientation(6).dateTaken("2022:08:01 18:30:00");
    QTest::newRow("HEIC, turned by its container")
        << heicWithExif(*quarters(64, 48), heif_orientation_rotate_90_cw, phone) << true
        << PictureFormat::Heif << QSize(48, 64) << at("2022-08-01T18:30:00.000");
    QTest::newRow("HEIC without a date") << heic(*quarters(64, 48), heif_orientation_normal) << true
                                         << PictureFormat::Heif << QSize(64, 48) << none;

    QTest::newRow("PNG") << TestPictures::png(QSize(8, 8)) << false << PictureFormat::Other
                         << QSize() << none;
    QTest::newRow("cut off in its header") << plain.first(40) << false << jpeg << QSize() << none;
    QTest::newRow("more pixels than a picture may have")
        << JpegWriter::withClaimedSize(plain, QSize(65000, 65000)) << false << jpeg << QSize()
        << none;
    // The header reading stops long before a hostile file's end.
    QByteArray padded = plain.first(2);
    const QByteArray segment = QByteArray("\xff\xe3\xff\xff", 4) + QByteArray(0xfffd, 'x');
    while (padded.size() < 17 * 1024 * 1024)
        padded += segment;
    QTest::newRow("picture data beyond the header's bound")
        << padded + plain.sliced(2) << false << jpeg << QSize() << none;
}

void PictureFactsTest::readsSizeAndDateFromTheHeader()
{
    QFETCH(QByteArray, bytes);
    const PictureFacts facts = readPictureFacts(file("picture", bytes));
    QTEST(facts.readable, "readable");
    QTEST(facts.format, "format");
    QTEST(facts.size, "size");
    QTEST(facts.taken.value_or(QDateTime()), "taken");
    QVERIFY(facts.modified.isValid());
}

void PictureFactsTest::tellsTheFileTime()
{
    const QString picture = file("old.jpg", TestPictures::jpeg(QSize(8, 8)));
    const QDateTime then = at("2001-02-03T04:05:06.789");
    QFile opened(picture);
    QVERIFY(opened.open(QIODevice::ReadWrite));
    QVERIFY(opened.setFileTime(then, QFileDevice::FileModificationTime));
    opened.close();
    QCOMPARE(readPictureFacts(picture).modified, then);
}

void PictureFactsTest::neverWaitsOnAFileThatIsNoPicture()
{
    QVERIFY(mkfifo(QFile::encodeName(path("fifo")).constData(), 0600) == 0);
    QVERIFY(QDir(m_dir.path()).mkpath("folder.jpg"));
    for (const char* name : {"fifo", "folder.jpg", "missing.jpg"}) {
        const PictureFacts facts = readPictureFacts(path(QString::fromLatin1(name)));
        QVERIFY(!facts.readable);
        QVERIFY(!facts.modified.isValid());
        QVERIFY(RowPictures(QSize(64, 64)).make(path(QString::fromLatin1(name))).isNull());
    }
}

void PictureFactsTest::rowPictureIsTheUprightExifThumbnail_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("size");

    QTest::newRow("as stored") << 1 << QSize(64, 48);
    QTest::newRow("turned a quarter") << 6 << QSize(48, 64);
    QTest::newRow("turned half") << 3 << QSize(64, 48);
    QTest::newRow("mirrored and turned") << 7 << QSize(48, 64);
}

void PictureFactsTest::rowPictureIsTheUprightExifThumbnail()
{
    QFETCH(int, orientation);
    const QString picture =
        file("photo.jpg", grayWithQuartersThumbnail(QSize(400, 300), QSize(160, 120), orientation));
    const RowPicture row = RowPictures(QSize(64, 64)).make(picture);
    QVERIFY(!row.isNull());
    QVERIFY(row.fromExifThumbnail);
    QTEST(row.size, "size");
    QCOMPARE(row.rgb.size(), 3 * row.size.width() * row.size.height());
    QCOMPARE(cornersOf(row), uprightCorners[orientation - 1]);
}

void PictureFactsTest::rowPictureDecodesWithoutAThumbnail_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("size");

    QTest::newRow("no EXIF") << quartersJpeg(800, 600) << QSize(64, 48);
    QTest::newRow("small, never enlarged") << quartersJpeg(40, 20) << QSize(40, 20);
    ExifBlock turned;
    turned.orientation(8);
    QTest::newRow("no thumbnail, turned")
        << withExif(quartersJpeg(800, 600), turned) << QSize(48, 64);
    // A 4:3 thumbnail with black bars above a 2:1 picture, or an uncropped one an editor
    // left behind, would show something else.
    ExifBlock otherShape;
    otherShape.thumbnail(JpegWriter::flat(QSize(160, 120), JCS_RGB, QByteArray("\0\0\0", 3)));
    QTest::newRow("thumbnail of another shape")
        << withExif(quartersJpeg(800, 400), otherShape) << QSize(64, 32);
    ExifBlock broken;
    broken.thumbnail(QByteArray("\xff\xd8\xff\xe0") + " not a picture");
    QTest::newRow("broken thumbnail") << withExif(quartersJpeg(800, 600), broken) << QSize(64, 48);
    ExifBlock huge;
    huge.thumbnail(JpegWriter::withClaimedSize(
        JpegWriter::flat(QSize(16, 12), JCS_RGB, QByteArray("\0\0\0", 3)), QSize(40000, 30000)));
    QTest::newRow("thumbnail claiming a huge size")
        << withExif(quartersJpeg(800, 600), huge) << QSize(64, 48);
}

void PictureFactsTest::rowPictureDecodesWithoutAThumbnail()
{
    QFETCH(QByteArray, bytes);
    const RowPicture row = RowPictures(QSize(64, 64)).make(file("photo.jpg", bytes));
    QVERIFY(!row.isNull());
    QVERIFY(!row.fromExifThumbnail);
    QTEST(row.size, "size");
    const QList<int> corners = cornersOf(row);
    QVERIFY(!corners.contains(-1));
    QCOMPARE(QSet<int>(corners.begin(), corners.end()).size(), 4);
}

void PictureFactsTest::rowPictureOfAHeic()
{
    const QString picture =
        file("phone.heic", heic(*quarters(128, 96), heif_orientation_rotate_90_cw));
    const RowPicture row = RowPictures(QSize(64, 64)).make(picture);
    QCOMPARE(row.size, QSize(48, 64));
    QVERIFY(!row.fromExifThumbnail);
    QCOMPARE(cornersOf(row), uprightCorners[5]);
}

void PictureFactsTest::noRowPictureOfWhatCannotBeRead_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray photo = quartersJpeg(200, 150);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("PNG named .jpg") << TestPictures::png(QSize(16, 16));
    QTest::newRow("cut off in its picture data") << photo.first(photo.size() / 2);
    QTest::newRow("more pixels than a picture may have")
        << JpegWriter::withClaimedSize(photo, QSize(65000, 65000));
    QTest::newRow("HEIC claiming more pixels") << withClaimedHeifSize(
        heic(*quarters(64, 48), heif_orientation_normal), QSize(60000, 60000));
}

void PictureFactsTest::noRowPictureOfWhatCannotBeRead()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(RowPictures(QSize(64, 64)).make(file("photo.jpg", bytes)).isNull());
}

// The window makes row pictures on a pool of threads; each is what one thread alone makes.
void PictureFactsTest::rowPicturesOnManyThreadsAreTheSame()
{
    QStringList pictures;
    for (int i = 0; i < 12; ++i) {
        const QString name = QStringLiteral("p%1.jpg").arg(i);
        pictures << file(name, i % 3 == 0 ? grayWithQuartersThumbnail(QSize(320, 240),
                                                                      QSize(160, 120), 1 + i % 8)
                                          : quartersJpeg(320 + 16 * i, 240));
    }
    pictures << file("p.heic", heic(*quarters(96, 64), heif_orientation_rotate_180));
    RowPictures alone(QSize(48, 48));
    QList<QByteArray> expected;
    for (const QString& picture : pictures)
        expected << alone.make(picture).rgb;
    RowPictures shared(QSize(48, 48));
    QThreadPool pool;
    pool.setMaxThreadCount(4);
    const QList<QByteArray> made = QtConcurrent::blockingMapped(
        &pool, pictures, [&](const QString& picture) { return shared.make(picture).rgb; });
    QCOMPARE(made, expected);
}

QTEST_APPLESS_MAIN(PictureFactsTest)
#include "tst_picturefacts.moc"
