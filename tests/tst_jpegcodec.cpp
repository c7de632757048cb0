#include "HeifGrid.h"
#include "JpegWriter.h"
#include "PhotoPictures.h"
#include "ProcessMemory.h"
#include "SmallDisk.h"
#include "TestPictures.h"

#include "imaging/ColourTransforms.h"
#include "imaging/JpegCodec.h"
#include "imaging/JpegDecoder.h"
#include "imaging/PictureDecoder.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <thread>

using namespace TestPictures;
using PhotoPictures::sizeOf;

Q_DECLARE_METATYPE(DecodeFailure)

namespace {

// Whatever is written to stderr while it lives ends up in a file instead of the terminal.
class StderrCapture
{
public:
    StderrCapture()
    {
        m_file.open();
        std::fflush(stderr);
        m_saved = dup(STDERR_FILENO);
        dup2(m_file.handle(), STDERR_FILENO);
    }
    ~StderrCapture() { restore(); }

    QByteArray text()
    {
        restore();
        m_file.seek(0);
        return m_file.readAll();
    }

private:
    void restore()
    {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        dup2(m_saved, STDERR_FILENO);
        close(m_saved);
        m_saved = -1;
    }

    QTemporaryFile m_file;
    int m_saved = -1;
};

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot).size());
}

// A socket file at path, bound and left so.
bool makeSocket(const QString& path)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || size_t(name.size()) >= sizeof address.sun_path)
        return false;
    std::copy(name.begin(), name.end(), address.sun_path);
    const bool bound = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return bound;
}

// Four tiles of 320 x 240 in the colours of PhotoPictures::quarters, encoded once.
const QList<HeifGrid::Tile>& gridTiles()
{
    static const QList<HeifGrid::Tile> tiles = [] {
        QList<HeifGrid::Tile> made;
        for (int colour : PhotoPictures::quarterColours)
            made << HeifGrid::tile(QSize(320, 240), gdTrueColorGetRed(colour),
                                   gdTrueColorGetGreen(colour), gdTrueColorGetBlue(colour));
        return made;
    }();
    return tiles;
}

// The decoded picture itself, upright.
GdImage decodedPixels(PictureDecoder& decoder, QSize needed)
{
    return decoder.decode(needed).upright();
}

} // namespace

class JpegCodecTest : public QObject
{
    Q_OBJECT

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    ColourTransforms m_colours;

private slots:
    void refusesWhatItCannotDecode_data();
    void refusesWhatItCannotDecode();
    void acceptsAWholePictureWithAnUntidyEnd_data();
    void acceptsAWholePictureWithAnUntidyEnd();
    void decodesAHeifGrid_data();
    void decodesAHeifGrid();
    void decodesWithTheDetailAskedFor_data();
    void decodesWithTheDetailAskedFor();
    void decodesOtherColourLayouts_data();
    void decodesOtherColourLayouts();
    void keepsExifAndProfileMarkers();
    void roundTripKeepsSize_data();
    void roundTripKeepsSize();
    void saveReplacesWholeFile();
    void saveOntoAFullDiskKeepsTheEarlierFile();
    void saveLeavesWhatIsNotAFileAlone();
    void saveReplacesALinkNeverItsTarget_data();
    void saveReplacesALinkNeverItsTarget();
    void saveIntoMissingDirectoryWritesNothing();
    void twoThreadsWorkAtOnce();
};

void JpegCodecTest::refusesWhatItCannotDecode_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // null: made by the test below
    QTest::addColumn<DecodeFailure>("failure");

    const QByteArray picture = jpeg(QSize(200, 150));
    QTest::newRow("missing") << "missing.jpg" << QByteArray() << DecodeFailure::NotAFile;
    QTest::newRow("directory") << "folder.jpg" << QByteArray() << DecodeFailure::NotAFile;
    QTest::newRow("FIFO") << "fifo.jpg" << QByteArray() << DecodeFailure::NotAFile;
    QTest::newRow("socket") << "socket.jpg" << QByteArray() << DecodeFailure::NotAFile;
    QTest::newRow("device") << "/dev/zero" << QByteArray() << DecodeFailure::NotAFile;
    QTest::newRow("empty") << "empty.jpg" << QByteArray("") << DecodeFailure::NotAPicture;
    QTest::newRow("PNG named .jpg")
        << "png.jpg" << png(QSize(64, 48)) << DecodeFailure::NotAPicture;
    QTest::newRow("text") << "text.jpg" << QByteArray("not a picture\n")
                          << DecodeFailure::NotAPicture;
    QTest::newRow("cut off in its header")
        << "header.jpg" << picture.left(100) << DecodeFailure::NotAPicture;
    QTest::newRow("cut off in its picture data")
        << "half.jpg" << picture.left(picture.size() / 2) << DecodeFailure::CutOff;
    QTest::newRow("header claiming 46340 x 46340")
        << "bomb.jpg" << JpegWriter::withClaimedSize(jpeg(QSize(64, 48)), QSize(46340, 46340))
        << DecodeFailure::TooManyPixels;
    using JpegWriter::Options;
    using JpegWriter::Progression;
    const QSize size(160, 120);
    QTest::newRow("half a picture, then its end marker")
        << "half-end.jpg" << picture.left(picture.size() / 2) + "\xFF\xD9"
        << DecodeFailure::Corrupt;
    QTest::newRow("header claiming 15000 x 15000 of a 160 x 120 picture")
        << "claim.jpg" << JpegWriter::withClaimedSize(jpeg(size), QSize(15000, 15000))
        << DecodeFailure::Corrupt;
    const QByteArray restarts = JpegWriter::detailed(size, {Progression::Sequential, 4});
    QTest::newRow("restart marker out of order")
        << "rst.jpg" << QByteArray(restarts).replace("\xFF\xD2", "\xFF\xD5")
        << DecodeFailure::Corrupt;
    QByteArray everyFFFF = restarts;
    const qsizetype interval = everyFFFF.indexOf("\xFF\xDD") + 4;
    everyFFFF[interval] = everyFFFF[interval + 1] = char(0xFF);
    QTest::newRow("restart interval 0xFFFF") << "dri.jpg" << everyFFFF << DecodeFailure::Corrupt;
    QByteArray progressive = JpegWriter::detailed(size, {Progression::Progressive});
    const QList<qsizetype> scans = JpegWriter::scanHeaders(progressive);
    QByteArray refinedTwice = progressive;
    // The last scan refines luminance from bit 1 to bit 0; it now claims to refine bit 2.
    const qsizetype lastScan = scans.last();
    const int headerLength =
        quint8(refinedTwice[lastScan + 2]) << 8 | quint8(refinedTwice[lastScan + 3]);
    refinedTwice[lastScan + 2 + headerLength - 1] = char(0x21);
    QTest::newRow("progressive scan out of order")
        << "order.jpg" << refinedTwice << DecodeFailure::Corrupt;
    QTest::newRow("progressive, cut between two scans")
        << "scans.jpg" << progressive.first(scans[5]) << DecodeFailure::CutOff;
    QTest::newRow("progressive, cut between two scans, then its end marker")
        << "scans-end.jpg" << progressive.first(scans[5]) + "\xFF\xD9" << DecodeFailure::CutOff;
    QTest::newRow("progressive, cut within a scan")
        << "scan-half.jpg" << progressive.first((scans[5] + scans[6]) / 2) << DecodeFailure::CutOff;
    QTest::newRow("a scan repeated 1000 times")
        << "bomb-scans.jpg"
        << JpegWriter::withLastScanRepeated(
               JpegWriter::detailed(size, {Progression::ProgressiveFlat}), 1000)
        << DecodeFailure::Corrupt;
    QTest::newRow("two components")
        << "two.jpg" << JpegWriter::flat(QSize(16, 16), JCS_UNKNOWN, "\x40\x80")
        << DecodeFailure::UnsupportedColours;

    using namespace PhotoPictures;
    const QByteArray heif = heic(*quarters(64, 48), heif_orientation_normal);
    QTest::newRow("HEIC cut short")
        << "cut.heic" << heif.first(heif.size() * 2 / 3) << DecodeFailure::NotAPicture;
    QTest::newRow("HEIC container without a picture")
        << "box.heic" << heif.first(heif.indexOf("meta") - 4) << DecodeFailure::NotAPicture;
    QTest::newRow("HEIC claiming 20000 x 20000")
        << "bomb.heic" << withClaimedHeifSize(heif, QSize(20000, 20000))
        << DecodeFailure::TooManyPixels;
    // libheif keeps the picture, padded to whole blocks, in a grid of one tile: its size box
    // and the grid's descriptor disagree.
    QTest::newRow("HEIC claiming more than it holds")
        << "claim.heic" << withClaimedHeifSize(heif, QSize(6000, 6000)) << DecodeFailure::Corrupt;
    QTest::newRow("HEIC claiming 50.1 megapixels")
        << "bomb50.heic" << withClaimedHeifSize(heif, QSize(7080, 7080))
        << DecodeFailure::TooManyPixels;

    // Grids of four tiles of 320 x 240, which libheif would lay onto whatever canvas the
    // grid claims.
    const QList<HeifGrid::Tile> tiles = gridTiles();
    const auto grid = [&](QSize canvas, QSize claimed) {
        return HeifGrid::grid(tiles, {2, 2, canvas, claimed});
    };
    QTest::newRow("HEIC grid claiming 16000 x 15000")
        << "grid-bomb.heic" << grid(QSize(16000, 15000), QSize(16000, 15000))
        << DecodeFailure::TooManyPixels;
    QTest::newRow("HEIC grid whose tiles cover a tenth of its canvas")
        << "grid-sparse.heic" << grid(QSize(2000, 1500), QSize(2000, 1500))
        << DecodeFailure::Corrupt;
    QTest::newRow("HEIC grid of 30000 x 8000 whose size box says 640 x 480")
        << "grid-canvas.heic" << grid(QSize(30000, 8000), QSize(640, 480))
        << DecodeFailure::Corrupt;
    QTest::newRow("HEIC grid of 640 x 480 whose size box says 30000 x 8000")
        << "grid-claim.heic" << grid(QSize(640, 480), QSize(30000, 8000))
        << DecodeFailure::TooManyPixels;
    QTest::newRow("HEIC grid missing a tile")
        << "grid-three.heic"
        << HeifGrid::grid(tiles.first(3), {2, 2, QSize(640, 480), QSize(640, 480)})
        << DecodeFailure::Corrupt;
    // libheif 1.15 stops the program on an assertion when it decodes such a picture.
    QTest::newRow("HEIC identity of an item that is no picture")
        << "iden.heic"
        << HeifGrid::grid(tiles.first(1), {1, 1, QSize(320, 240), QSize(320, 240), "iden", "hvc0"})
        << DecodeFailure::Corrupt;
    QTest::newRow("HEIC grid of items that are no pictures")
        << "grid-hvc0.heic"
        << HeifGrid::grid(tiles, {2, 2, QSize(640, 480), QSize(640, 480), "grid", "hvc0"})
        << DecodeFailure::Corrupt;
    QList<HeifGrid::Tile> uneven = tiles;
    uneven[3].size = QSize(160, 120);
    QTest::newRow("HEIC grid of tiles of two sizes")
        << "grid-uneven.heic" << HeifGrid::grid(uneven, {2, 2, QSize(640, 480), QSize(640, 480)})
        << DecodeFailure::Corrupt;
}

// Each is refused without a word, without waiting, and without taking memory for pixels.
void JpegCodecTest::refusesWhatItCannotDecode()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QString file = name.startsWith(u'/') ? name : path(name);
    if (name == u"folder.jpg")
        QVERIFY(QDir(m_dir.path()).mkpath(name));
    else if (name == u"fifo.jpg")
        QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    else if (name == u"socket.jpg")
        QVERIFY(makeSocket(file));
    else if (!content.isNull())
        QVERIFY(write(file, content));

    const int descriptors = openDescriptors();
    const qint64 peak = peakResidentKilobytes();
    StderrCapture capture;
    PictureDecoder decoder(file, m_colours);
    const GdImage image = decodedPixels(decoder, QSize(16, 16));
    QCOMPARE(capture.text(), QByteArray());
    QVERIFY(!image);
    QTEST(decoder.failure(), "failure");
    QCOMPARE(openDescriptors(), descriptors);
    QVERIFY2(peakResidentKilobytes() - peak < 32 * 1024, "pixel memory was taken");
}

void JpegCodecTest::acceptsAWholePictureWithAnUntidyEnd_data()
{
    QTest::addColumn<QByteArray>("whole");
    QTest::addColumn<QByteArray>("content");

    using JpegWriter::Options;
    using JpegWriter::Progression;
    const QSize size(160, 120);
    const QByteArray sequential = JpegWriter::detailed(size);
    QTest::newRow("sequential") << sequential << sequential.chopped(2);
    const QByteArray restarts = JpegWriter::detailed(size, {Progression::Sequential, 4});
    QTest::newRow("with restart markers") << restarts << restarts.chopped(2);
    const QByteArray progressive = JpegWriter::detailed(size, {Progression::Progressive});
    QTest::newRow("progressive") << progressive << progressive.chopped(2);
    // Far fewer scans than a scan bomb, though far more than any encoder writes.
    const QByteArray flat = JpegWriter::detailed(size, {Progression::ProgressiveFlat});
    QTest::newRow("a scan repeated 200 times")
        << flat << JpegWriter::withLastScanRepeated(flat, 200);
    QTest::newRow("padding before the end marker")
        << sequential << sequential.chopped(2) + QByteArray("\0\0\xFF\xD9", 4);
    QTest::newRow("progressive, padding before the end marker")
        << progressive << progressive.chopped(2) + QByteArray("\0\xFF\xD9", 3);
}

// Without its end marker, or with padding before it, libjpeg decodes such a file exactly as
// the whole one.
void JpegCodecTest::acceptsAWholePictureWithAnUntidyEnd()
{
    QFETCH(QByteArray, whole);
    QFETCH(QByteArray, content);
    QVERIFY(write(path("whole.jpg"), whole));
    QVERIFY(write(path("content.jpg"), content));
    PictureDecoder expected(path("whole.jpg"), m_colours);
    PictureDecoder decoder(path("content.jpg"), m_colours);
    const GdImage expectedImage = decodedPixels(expected, expected.fullSize());
    const GdImage image = decodedPixels(decoder, decoder.fullSize());
    QCOMPARE(decoder.failure(), DecodeFailure::None);
    QVERIFY(expectedImage && image);
    QCOMPARE(sizeOf(image), sizeOf(expectedImage));
    for (int y = 0; y < image->sy; ++y)
        QVERIFY(std::equal(image->tpixels[y], image->tpixels[y] + image->sx,
                           expectedImage->tpixels[y]));
}

void JpegCodecTest::decodesAHeifGrid_data()
{
    QTest::addColumn<QSize>("canvas");

    QTest::newRow("tiles filling the canvas") << QSize(640, 480);
    QTest::newRow("tiles reaching beyond the canvas") << QSize(600, 450);
}

// As phones store their photographs: the tiles in the corners where the grid puts them.
void JpegCodecTest::decodesAHeifGrid()
{
    QFETCH(QSize, canvas);
    QVERIFY(write(path("grid.heic"), HeifGrid::grid(gridTiles(), {2, 2, canvas, canvas})));
    PictureDecoder decoder(path("grid.heic"), m_colours);
    const GdImage image = decodedPixels(decoder, canvas);
    QCOMPARE(decoder.failure(), DecodeFailure::None);
    QCOMPARE(sizeOf(image), canvas);
    QCOMPARE(PhotoPictures::cornerQuarters(*image, 8, 12), QList<int>({0, 1, 2, 3}));
}

void JpegCodecTest::decodesWithTheDetailAskedFor_data()
{
    QTest::addColumn<QSize>("full");
    QTest::addColumn<QSize>("needed");
    QTest::addColumn<QSize>("decoded");

    QTest::newRow("a large output of a photo")
        << QSize(1600, 1200) << QSize(400, 300) << QSize(800, 600);
    QTest::newRow("just too little for a half")
        << QSize(1600, 1200) << QSize(641, 300) << QSize(1600, 1200);
    QTest::newRow("the taller side decides")
        << QSize(1600, 1200) << QSize(100, 160) << QSize(400, 300);
    QTest::newRow("a thumbnail") << QSize(1600, 1200) << QSize(100, 75) << QSize(200, 150);
    // Each pixel of a picture reduced by 8 is a block's mean alone: taken only at twice the
    // need, where the other reductions are taken at a quarter more.
    QTest::newRow("too little for an eighth")
        << QSize(1600, 1200) << QSize(120, 90) << QSize(400, 300);
    QTest::newRow("a quarter at a quarter more")
        << QSize(1600, 1200) << QSize(320, 240) << QSize(400, 300);
    QTest::newRow("odd sides round up") << QSize(1601, 1201) << QSize(100, 75) << QSize(201, 151);
    QTest::newRow("nothing needed") << QSize(1600, 1200) << QSize(0, 0) << QSize(200, 150);
    QTest::newRow("full size") << QSize(160, 120) << QSize(160, 120) << QSize(160, 120);
}

void JpegCodecTest::decodesWithTheDetailAskedFor()
{
    QFETCH(QSize, full);
    QFETCH(QSize, needed);
    QFETCH(QSize, decoded);
    QVERIFY(write(path("picture.jpg"), jpeg(full)));

    PictureDecoder decoder(path("picture.jpg"), m_colours);
    QCOMPARE(decoder.fullSize(), full);
    QCOMPARE(decoder.decodedSize(needed), decoded);
    const GdImage image = decodedPixels(decoder, needed);
    QCOMPARE(sizeOf(image), decoded);
    QCOMPARE(decoder.failure(), DecodeFailure::None);
    // The first of the drawn bands is green; GD's alpha 0 means opaque.
    const int pixel = gdImageGetTrueColorPixel(image.get(), 0, decoded.height() / 2);
    QCOMPARE(gdTrueColorGetAlpha(pixel), 0);
    QVERIFY(gdTrueColorGetGreen(pixel) > 240 && gdTrueColorGetRed(pixel) < 16);
}

void JpegCodecTest::decodesOtherColourLayouts_data()
{
    QTest::addColumn<QByteArray>("jpeg");
    QTest::addColumn<int>("colour");

    QTest::newRow("gray") << JpegWriter::flat(QSize(40, 30), JCS_GRAYSCALE, "\x80")
                          << gdTrueColor(128, 128, 128);
    QTest::newRow("YCbCr") << JpegWriter::flat(QSize(40, 30), JCS_RGB, "\xC8\x32\x14")
                           << gdTrueColor(200, 50, 20);
}

void JpegCodecTest::decodesOtherColourLayouts()
{
    QFETCH(QByteArray, jpeg);
    QFETCH(int, colour);
    QVERIFY(write(path("layout.jpg"), jpeg));
    PictureDecoder decoder(path("layout.jpg"), m_colours);
    const GdImage image = decodedPixels(decoder, decoder.fullSize());
    QVERIFY(image);
    const int pixel = gdImageGetTrueColorPixel(image.get(), 20, 15);
    QCOMPARE(gdTrueColorGetAlpha(pixel), 0);
    QVERIFY2(std::abs(gdTrueColorGetRed(pixel) - gdTrueColorGetRed(colour)) <= 3 &&
                 std::abs(gdTrueColorGetGreen(pixel) - gdTrueColorGetGreen(colour)) <= 3 &&
                 std::abs(gdTrueColorGetBlue(pixel) - gdTrueColorGetBlue(colour)) <= 3,
             qPrintable(QString::number(pixel, 16)));
}

void JpegCodecTest::keepsExifAndProfileMarkers()
{
    const QByteArray exif = QByteArray("Exif\0\0", 6) + QByteArray(300, 'e');
    const QByteArray profile = QByteArray("ICC_PROFILE\0", 12) + QByteArray(200, 'p');
    QVERIFY(write(path("markers.jpg"),
                  JpegWriter::flat(QSize(8, 8), JCS_RGB, "\x10\x20\x30",
                                   {{JPEG_APP0 + 1, exif}, {JPEG_APP0 + 2, profile}})));
    JpegDecoder decoder(openRegularFile(path("markers.jpg")), m_colours);
    QList<JpegWriter::Marker> found;
    for (jpeg_saved_marker_ptr marker = decoder.markers(); marker; marker = marker->next)
        found.append({marker->marker, QByteArray(reinterpret_cast<const char*>(marker->data),
                                                 qsizetype(marker->data_length))});
    QCOMPARE(found.size(), 2);
    QCOMPARE(found[0].code, JPEG_APP0 + 1);
    QCOMPARE(found[0].data, exif);
    QCOMPARE(found[1].code, JPEG_APP0 + 2);
    QCOMPARE(found[1].data, profile);
    QVERIFY(decoder.decode(QSize(8, 8)));
}

void JpegCodecTest::roundTripKeepsSize_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("quality");

    QTest::newRow("one pixel") << QSize(1, 1) << 100;
    QTest::newRow("landscape") << QSize(160, 120) << 70;
    QTest::newRow("portrait") << QSize(89, 120) << 20;
    QTest::newRow("quality 0 from a never-saved settings file") << QSize(30, 20) << 0;
}

void JpegCodecTest::roundTripKeepsSize()
{
    QFETCH(QSize, size);
    QFETCH(int, quality);
    QVERIFY(SaveJpegFile(path("round.jpg"), draw(size).get(), quality));
    PictureDecoder decoder(path("round.jpg"), m_colours);
    QCOMPARE(decoder.fullSize(), size);
    QCOMPARE(decoder.decode(size).size(), size);
}

void JpegCodecTest::saveReplacesWholeFile()
{
    QVERIFY(write(path("old.jpg"), QByteArray(500000, 'x')));
    const GdImage image = draw(QSize(40, 30));
    QVERIFY(SaveJpegFile(path("old.jpg"), image.get(), 75));
    QCOMPARE(read(path("old.jpg")), EncodeJpeg(image.get(), 75));
    // The caller still owns the image and may go on using it.
    QCOMPARE(gdImageGetTrueColorPixel(image.get(), 0, 0), gdTrueColor(0, 255, 0));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Hidden | QDir::Files).filter(".morvane-"),
             QStringList());
}

void JpegCodecTest::saveOntoAFullDiskKeepsTheEarlierFile()
{
    SmallDisk disk("64k");
    if (!disk.isMounted())
        QSKIP("a small file system to fill needs root");
    const QByteArray earlier = jpeg(QSize(40, 30), 75);
    QVERIFY(write(disk.filePath("out.jpg"), earlier));
    disk.fill();

    QVERIFY(!SaveJpegFile(disk.filePath("out.jpg"), draw(QSize(400, 300)).get(), 100));
    QCOMPARE(read(disk.filePath("out.jpg")), earlier);
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({"filler", "out.jpg"}));
}

void JpegCodecTest::saveLeavesWhatIsNotAFileAlone()
{
    const QString fifo = path("pipe.jpg");
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QVERIFY(!SaveJpegFile(fifo, draw(QSize(40, 30)).get(), 75));
    struct stat status;
    QCOMPARE(stat(QFile::encodeName(fifo).constData(), &status), 0);
    QVERIFY(S_ISFIFO(status.st_mode));
    QVERIFY(!SaveJpegFile(m_dir.path(), draw(QSize(40, 30)).get(), 75));
    QVERIFY(QFileInfo(m_dir.path()).isDir());
}

void JpegCodecTest::saveReplacesALinkNeverItsTarget_data()
{
    QTest::addColumn<bool>("dangling");

    QTest::newRow("to another file") << false;
    QTest::newRow("to nothing") << true;
}

// A link planted in a save folder must not let an output overwrite a file elsewhere.
void JpegCodecTest::saveReplacesALinkNeverItsTarget()
{
    QFETCH(bool, dangling);
    QTemporaryDir elsewhere;
    const QString victim = elsewhere.filePath("victim");
    if (!dangling)
        QVERIFY(write(victim, "precious"));
    QVERIFY(QDir(m_dir.path()).mkpath("links"));
    const QString link = path("links/x01_t.jpg");
    QFile::remove(link);
    QVERIFY(QFile::link(victim, link));

    QVERIFY(SaveJpegFile(link, draw(QSize(40, 30)).get(), 75));
    QVERIFY(!QFileInfo(link).isSymLink());
    QCOMPARE(read(link), EncodeJpeg(draw(QSize(40, 30)).get(), 75));
    QCOMPARE(QFile::exists(victim), !dangling);
    if (!dangling)
        QCOMPARE(read(victim), QByteArray("precious"));
    QCOMPARE(QDir(path("links")).entryList(QDir::Files | QDir::Hidden | QDir::System),
             QStringList({"x01_t.jpg"}));
    QVERIFY(
        QDir(elsewhere.path()).entryList(QDir::Hidden | QDir::Files).filter(".morvane-").isEmpty());
}

void JpegCodecTest::saveIntoMissingDirectoryWritesNothing()
{
    const GdImage image = draw(QSize(40, 30));
    const int descriptors = openDescriptors();
    StderrCapture capture;
    QVERIFY(!SaveJpegFile(path("missing/out.jpg"), image.get(), 75));
    QCOMPARE(capture.text(), QByteArray());
    QCOMPARE(openDescriptors(), descriptors);
    QVERIFY(!QFile::exists(path("missing/out.jpg")));
    QCOMPARE(gdImageSX(image.get()), 40);
}

void JpegCodecTest::twoThreadsWorkAtOnce()
{
    QVERIFY(write(path("a.jpg"), jpeg(QSize(300, 200))));
    QVERIFY(write(path("b.jpg"), jpeg(QSize(120, 240))));
    QVERIFY(write(path("bad.jpg"), png(QSize(10, 10))));
    auto work = [this](const QString& name, QSize* size, int* failures) {
        for (int round = 0; round < 20; ++round) {
            PictureDecoder decoder(path(name + ".jpg"), m_colours);
            const GdImage image = decodedPixels(decoder, decoder.fullSize());
            *failures += PictureDecoder(path("bad.jpg"), m_colours).decode(QSize(1, 1)) ? 0 : 1;
            if (!image)
                continue;
            SaveJpegFile(path(name + "-out.jpg"), image.get(), 80);
            *size = sizeOf(image);
        }
    };
    QSize sizeA, sizeB;
    int failuresA = 0, failuresB = 0;
    std::thread first(work, QStringLiteral("a"), &sizeA, &failuresA);
    std::thread second(work, QStringLiteral("b"), &sizeB, &failuresB);
    first.join();
    second.join();
    QCOMPARE(sizeA, QSize(300, 200));
    QCOMPARE(sizeB, QSize(120, 240));
    QCOMPARE(failuresA + failuresB, 40);
    QCOMPARE(jpegSize(path("a-out.jpg")), QSize(300, 200));
    QCOMPARE(jpegSize(path("b-out.jpg")), QSize(120, 240));
}

QTEST_APPLESS_MAIN(JpegCodecTest)
#include "tst_jpegcodec.moc"
