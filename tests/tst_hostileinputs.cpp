#include "HeifGrid.h"
#include "JpegWriter.h"
#include "PhotoPictures.h"
#include "ProcessMemory.h"
#include "TestPictures.h"

#include "settings/FtpSettings.h"
#include "settings/ImageSettings.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace TestPictures;

namespace {

// What no run may take, whatever its files claim.
constexpr long memoryBoundKilobytes = 400 * 1024;

struct BatchRun
{
    int exitCode = -1;
    QStringList errorLines;
    QString output;
    long peakKilobytes = 0; // the program's own peak resident memory
};

// Runs morvane-batch in folder and waits for it; its peak memory is its own, measured by the
// kernel when it ends.
BatchRun runBatch(const QString& folder, const QStringList& arguments)
{
    const QByteArray out = QFile::encodeName(folder + "/out.txt");
    const QByteArray err = QFile::encodeName(folder + "/err.txt");
    QList<QByteArray> argumentBytes{MORVANE_BATCH_PATH};
    for (const QString& argument : arguments)
        argumentBytes << QFile::encodeName(argument);
    std::vector<char*> argv;
    for (QByteArray& argument : argumentBytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.constData(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err.constData(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addchdir_np(&actions, QFile::encodeName(folder).constData());
    BatchRun run;
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        if (wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status)) {
            run.exitCode = WEXITSTATUS(status);
            run.peakKilobytes = usage.ru_maxrss;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    run.errorLines = QString::fromLocal8Bit(read(folder + "/err.txt")).split(u'\n');
    run.errorLines.removeAll(QString());
    run.output = QString::fromLocal8Bit(read(folder + "/out.txt")).trimmed();
    QFile::remove(folder + "/out.txt");
    QFile::remove(folder + "/err.txt");
    return run;
}

QByteArray restartMarkers()
{
    return JpegWriter::detailed(QSize(640, 480), {JpegWriter::Progression::Sequential, 4});
}

QByteArray withRestartInterval(QByteArray jpeg, int interval)
{
    const qsizetype at = jpeg.indexOf("\xFF\xDD") + 4;
    jpeg[at] = char(interval >> 8);
    jpeg[at + 1] = char(interval & 0xFF);
    return jpeg;
}

// The progressive picture with its last scan refining a bit it never had.
QByteArray outOfOrder()
{
    QByteArray jpeg = JpegWriter::detailed(QSize(640, 480), {JpegWriter::Progression::Progressive});
    const qsizetype last = JpegWriter::scanHeaders(jpeg).last();
    const int length = quint8(jpeg[last + 2]) << 8 | quint8(jpeg[last + 3]);
    jpeg[last + 2 + length - 1] = char(0x21);
    return jpeg;
}

QList<HeifGrid::Tile> tiles(QSize size, int count)
{
    const HeifGrid::Tile tile = HeifGrid::tile(size, 40, 120, 200);
    return QList<HeifGrid::Tile>(count, tile);
}

} // namespace

// Pictures and settings built to fool or exhaust a run, each given to morvane-batch: each is
// refused with a message and exit status 1, leaves no file behind, and no run goes beyond
// 400 MB.
class HostileInputsTest : public QObject
{
    Q_OBJECT

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QStringList outputs() const
    {
        QStringList found;
        for (const char* folder : {"thumbs", "images"})
            found += QDir(path(folder)).entryList(QDir::Files | QDir::Hidden | QDir::System);
        return found;
    }

    QTemporaryDir m_dir;

private slots:
    void init();
    void refusesHostilePictures_data();
    void refusesHostilePictures();
    void refusesSettingsItCannotUse_data();
    void refusesSettingsItCannotUse();
    void makesAPhonesLargestPictureWithinTheBound();
};

void HostileInputsTest::init()
{
    for (const char* folder : {"photos", "thumbs", "images"}) {
        QDir(path(folder)).removeRecursively();
        QVERIFY(QDir(m_dir.path()).mkdir(folder));
    }
    ImageSettings settings;
    settings.thumbnail = {path("thumbs"), 160, 0, 1, 0, 70, "_t"};
    settings.large = {path("images"), 800, 0, 1, 0, 85, ""};
    QVERIFY(settings.save(path(ImageSettings::fileName)));
    QFile::remove(path(FtpSettings::fileName));
}

void HostileInputsTest::refusesHostilePictures_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("copies"); // of the file in one run
    QTest::addColumn<QString>("reason");
    const QString damaged = "Damaged picture data";
    const QString tooLarge = "Larger than 250 megapixels (50 for HEIC)";

    const QByteArray picture = jpeg(QSize(640, 480));
    QTest::newRow("half a JPEG, then its end marker")
        << picture.first(picture.size() / 2) + "\xFF\xD9" << 1 << damaged;
    QTest::newRow("restart marker out of order")
        << QByteArray(restartMarkers()).replace("\xFF\xD2", "\xFF\xD5") << 1 << damaged;
    QTest::newRow("restart interval 0xFFFF")
        << withRestartInterval(restartMarkers(), 0xFFFF) << 1 << damaged;
    QTest::newRow("progressive scan out of order") << outOfOrder() << 1 << damaged;
    QTest::newRow("160 x 120 claiming 15000 x 15000")
        << JpegWriter::withClaimedSize(jpeg(QSize(160, 120)), QSize(15000, 15000)) << 1 << damaged;
    QTest::newRow("10000 scans")
        << JpegWriter::withLastScanRepeated(
               JpegWriter::detailed(QSize(640, 480), {JpegWriter::Progression::ProgressiveFlat}),
               10000)
        << 1 << damaged;
    const auto grid = [](QSize canvas, QSize claimed) {
        return HeifGrid::grid(tiles(QSize(320, 240), 4), {2, 2, canvas, claimed});
    };
    QTest::newRow("HEIC grid claiming 16000 x 15000")
        << grid(QSize(16000, 15000), QSize(16000, 15000)) << 1 << tooLarge;
    QTest::newRow("four HEIC grids claiming 16000 x 15000")
        << grid(QSize(16000, 15000), QSize(16000, 15000)) << 4 << tooLarge;
    QTest::newRow("HEIC grid of 30000 x 8000 claiming 640 x 480")
        << grid(QSize(30000, 8000), QSize(640, 480)) << 1 << damaged;
    QTest::newRow("HEIC grid whose tiles cover a tenth of it")
        << grid(QSize(2000, 1500), QSize(2000, 1500)) << 1 << damaged;
}

void HostileInputsTest::refusesHostilePictures()
{
    QFETCH(QByteArray, content);
    QFETCH(int, copies);
    QFETCH(QString, reason);
    QStringList arguments{"--prefix", "1=beach"};
    QStringList expected{"Generating Images..."};
    for (int copy = 1; copy <= copies; ++copy) {
        const QString name = QStringLiteral("photos/IMG_%1.jpg").arg(copy);
        QVERIFY(write(path(name), content));
        arguments << name;
        expected << "Failed to read picture " + path(name) + ": " + reason;
    }
    expected << QStringLiteral("0 of %1 made; %2 could not be read.")
                    .arg(copies == 1 ? QStringLiteral("1 picture")
                                     : QStringLiteral("%1 pictures").arg(copies))
                    .arg(copies);

    const BatchRun run = runBatch(m_dir.path(), arguments);
    QCOMPARE(run.errorLines, expected);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.output, QStringLiteral("%1 pictures listed, 0 thumbnails and 0 large images "
                                        "written, 0 sources renamed, 0 files uploaded, "
                                        "0 unchanged, 0 removed, %1 failures")
                             .arg(copies));
    QCOMPARE(outputs(), QStringList());
    QVERIFY2(!memoryBoundsHold || run.peakKilobytes < memoryBoundKilobytes,
             qPrintable(QString::number(run.peakKilobytes)));
}

void HostileInputsTest::refusesSettingsItCannotUse_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");

    const QString security = "Failed to connect to FTP server. Check FTP Settings under Options. "
                             "The security setting is not one this program knows.";
    QTest::newRow("security as a word") << "Security"
                                        << "TLS" << security;
    QTest::newRow("security empty") << "Security"
                                    << "" << security;
    QTest::newRow("security with text after it") << "Security"
                                                 << "2x" << security;
    QTest::newRow("security 7") << "Security"
                                << "7" << security;
    const QString extension = "Invalid %1 setting. Extensions cannot contain \"/\" or a NUL byte.";
    QTest::newRow("extension into a folder") << "ThumbExtension"
                                             << "/../x" << extension.arg("ThumbExtension");
    QTest::newRow("extension with a NUL byte")
        << "LargeExtension" << QStringLiteral("_a") + QChar(u'\0') + QStringLiteral("b")
        << extension.arg("LargeExtension");
}

// Nothing reaches the server, and nothing is written under a name the settings did not mean.
void HostileInputsTest::refusesSettingsItCannotUse()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, message);
    const bool ftp = key == u"Security";
    const QString file = path(ftp ? FtpSettings::fileName : ImageSettings::fileName);
    QByteArray content = read(file);
    if (ftp)
        content = "Server = 127.0.0.1\nPort = 1\nPassword = secret\n";
    QVERIFY(write(file, content + key.toUtf8() + " = " + value.toUtf8() + "\n"));
    QVERIFY(write(path("photos/IMG_1.jpg"), jpeg(QSize(640, 480))));

    QStringList arguments{"--prefix", "1=beach", "photos/IMG_1.jpg"};
    if (ftp)
        arguments.prepend("--upload");
    const BatchRun run = runBatch(m_dir.path(), arguments);
    QVERIFY2(run.errorLines.contains(message), qPrintable(run.errorLines.join(u'\n')));
    QCOMPARE(run.exitCode, 1);
    if (ftp) {
        QVERIFY(!run.errorLines.join(u'\n').contains("secret"));
        QCOMPARE(outputs(), QStringList({"beach01_t.jpg", "beach01.jpg"}));
        return;
    }
    QCOMPARE(run.errorLines, QStringList({"Generating Images...", message, "Nothing made."}));
    QCOMPARE(outputs(), QStringList());
    QCOMPARE(QDir(path("photos")).entryList(QDir::Files), QStringList({"IMG_1.jpg"}));
}

// The largest HEIC phones write (48 megapixels, in tiles of 512 x 512) is made: the cap on
// HEIF pictures leaves room for it within the bound.
void HostileInputsTest::makesAPhonesLargestPictureWithinTheBound()
{
    const QSize canvas(8064, 6048);
    QVERIFY(write(path("photos/IMG_1.heic"),
                  HeifGrid::grid(tiles(QSize(512, 512), 12 * 16), {12, 16, canvas, canvas})));
    const BatchRun run = runBatch(m_dir.path(), {"--prefix", "1=beach", "photos/IMG_1.heic"});
    QCOMPARE(run.errorLines, QStringList({"Generating Images...", "Ready"}));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(jpegSize(path("thumbs/beach01_t.jpg")), QSize(160, 120));
    QCOMPARE(jpegSize(path("images/beach01.jpg")), QSize(800, 600));
    QVERIFY2(!memoryBoundsHold || run.peakKilobytes < memoryBoundKilobytes,
             qPrintable(QString::number(run.peakKilobytes)));
}

QTEST_APPLESS_MAIN(HostileInputsTest)
#include "tst_hostileinputs.moc"
