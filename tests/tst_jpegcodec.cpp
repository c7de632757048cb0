#include "TestPictures.h"

#include "imaging/JpegCodec.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

#include <unistd.h>

#include <thread>

using namespace TestPictures;

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

} // namespace

class JpegCodecTest : public QObject
{
    Q_OBJECT

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;

private slots:
    void loadYieldsNothingQuietly_data();
    void loadYieldsNothingQuietly();
    void truncatedPictureDataDecodesQuietly();
    void roundTripKeepsSize_data();
    void roundTripKeepsSize();
    void saveReplacesWholeFile();
    void saveOntoAFullDiskFails();
    void saveIntoMissingDirectoryWritesNothing();
    void twoThreadsWorkAtOnce();
};

void JpegCodecTest::loadYieldsNothingQuietly_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");

    const QByteArray picture = jpeg(QSize(64, 48));
    QTest::newRow("missing") << "missing.jpg" << QByteArray();
    QTest::newRow("empty") << "empty.jpg" << QByteArray("");
    QTest::newRow("PNG named .jpg") << "png.jpg" << png(QSize(64, 48));
    QTest::newRow("text") << "text.jpg" << QByteArray("not a picture\n");
    QTest::newRow("truncated header") << "header.jpg" << picture.left(100);
    QTest::newRow("directory") << "folder.jpg" << QByteArray();
}

void JpegCodecTest::loadYieldsNothingQuietly()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    if (name == u"folder.jpg")
        QVERIFY(QDir(m_dir.path()).mkpath(name));
    else if (!content.isNull())
        QVERIFY(write(path(name), content));

    const int descriptors = openDescriptors();
    StderrCapture capture;
    const GdImage image = LoadJpegFile(path(name));
    QCOMPARE(capture.text(), QByteArray());
    QVERIFY(!image);
    QCOMPARE(openDescriptors(), descriptors);
}

void JpegCodecTest::truncatedPictureDataDecodesQuietly()
{
    const QByteArray picture = jpeg(QSize(200, 150));
    QVERIFY(write(path("half.jpg"), picture.left(picture.size() / 2)));
    StderrCapture capture;
    const GdImage image = LoadJpegFile(path("half.jpg"));
    QCOMPARE(capture.text(), QByteArray());
    // The decoder fills in what is missing, so the picture keeps its size.
    QVERIFY(image);
    QCOMPARE(QSize(image->sx, image->sy), QSize(200, 150));
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
    const GdImage image = draw(size);
    QVERIFY(SaveJpegFile(path("round.jpg"), image.get(), quality));
    const GdImage loaded = LoadJpegFile(path("round.jpg"));
    QVERIFY(loaded);
    QCOMPARE(QSize(loaded->sx, loaded->sy), size);
}

void JpegCodecTest::saveReplacesWholeFile()
{
    QVERIFY(write(path("old.jpg"), QByteArray(500000, 'x')));
    const GdImage image = draw(QSize(40, 30));
    SaveJpegFile(path("old.jpg"), image.get(), 75);
    QCOMPARE(read(path("old.jpg")), jpeg(QSize(40, 30), 75));
    // The caller still owns the image and may go on using it.
    QCOMPARE(gdImageGetTrueColorPixel(image.get(), 0, 0), gdTrueColor(0, 255, 0));
}

void JpegCodecTest::saveOntoAFullDiskFails()
{
    if (!QFile::exists("/dev/full"))
        QSKIP("no /dev/full to stand for a full disk");
    // The open succeeds; only writing the buffered picture runs out of space.
    QVERIFY(!SaveJpegFile("/dev/full", draw(QSize(40, 30)).get(), 75));
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
            const GdImage image = LoadJpegFile(path(name + ".jpg"));
            *failures += LoadJpegFile(path("bad.jpg")) ? 0 : 1;
            if (!image)
                continue;
            SaveJpegFile(path(name + "-out.jpg"), image.get(), 80);
            *size = QSize(image->sx, image->sy);
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
