#include "ColourMath.h"
#include "FtpServer.h"
#include "PhotoPictures.h"
#include "RawArguments.h"
#include "RunningProgram.h"
#include "TestHome.h"
#include "TestPictures.h"
#include "UploadPeer.h"

#include "settings/FtpSettings.h"
#include "settings/ImageSettings.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <QThread>

#include <cstdio>

#include <netinet/in.h>
#include <sched.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace TestPictures;

namespace {

struct BatchRun
{
    int exitCode = -1;
    QStringList errorLines; // standard error, one element per line
    QString output;
};

// A local port that refuses connections: bound, so no one else takes it, but not listening.
class RefusingPort
{
public:
    RefusingPort() : m_fd(socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_fd >= 0 && bind(m_fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
            getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            m_port = ntohs(address.sin_port);
    }
    ~RefusingPort()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;

    quint16 port() const { return m_port; }

private:
    int m_fd;
    quint16 m_port = 0;
};

// Keeps this thread, and the threads it starts, to one core while it lives.
class CoreLimit
{
public:
    explicit CoreLimit(bool active) : m_active(active)
    {
        if (m_active && sched_getaffinity(0, sizeof m_saved, &m_saved) == 0)
            toOneCore();
    }
    ~CoreLimit()
    {
        if (m_active)
            sched_setaffinity(0, sizeof m_saved, &m_saved);
    }
    CoreLimit(const CoreLimit&) = delete;
    CoreLimit& operator=(const CoreLimit&) = delete;

    static void toOneCore()
    {
        cpu_set_t allowed;
        if (sched_getaffinity(0, sizeof allowed, &allowed) != 0)
            return;
        for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
            if (CPU_ISSET(cpu, &allowed)) {
                cpu_set_t one;
                CPU_ZERO(&one);
                CPU_SET(cpu, &one);
                sched_setaffinity(0, sizeof one, &one);
                return;
            }
        }
    }

private:
    const bool m_active;
    cpu_set_t m_saved;
};

// Every file of a folder with its bytes.
QMap<QString, QByteArray> contents(const QString& folder)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : QDir(folder).entryList(QDir::Files))
        files.insert(name, read(folder + '/' + name));
    return files;
}

} // namespace

// morvane-batch run as a program, beside the window it stands in for.
class BatchToolTest : public QObject
{
    Q_OBJECT

private:
    QString path(const QString& name) const { return m_home.filePath(name); }

    // Starts morvane-batch in the folder holding morvane.cfg unless told otherwise.
    BatchRun runBatch(const QStringList& arguments, const QString& workingDir = {},
                      bool oneCore = false)
    {
        QProcess process;
        process.setWorkingDirectory(workingDir.isEmpty() ? m_home.path() : workingDir);
        if (oneCore)
            process.setChildProcessModifier([] { CoreLimit::toOneCore(); });
        process.start(QStringLiteral(MORVANE_BATCH_PATH), arguments);
        return finished(process);
    }

    BatchRun runBatchWithBytes(const QList<QByteArray>& arguments)
    {
        QProcess process;
        process.setWorkingDirectory(m_home.path());
        startWithBytes(process, QStringLiteral(MORVANE_BATCH_PATH), arguments);
        return finished(process);
    }

    static BatchRun finished(QProcess& process)
    {
        BatchRun run;
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return run;
        run.exitCode = process.exitCode();
        run.errorLines =
            QString::fromLocal8Bit(process.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
        run.output = QString::fromLocal8Bit(process.readAllStandardOutput());
        return run;
    }

    void drawPhotos(const QStringList& names)
    {
        for (const QString& name : names)
            QVERIFY(write(path("photos/" + name), jpeg(QSize(160, 120))));
    }

    // The settings with the remote folders of the README's example.
    static FtpSettings withReadmeFolders(FtpSettings ftp)
    {
        ftp.ThumbnailFtpDir = "www/thumbs";
        ftp.ImageFtpDir = "images";
        return ftp;
    }
    // Starts the server with the README's remote folders and saves its settings for the run;
    // false when it did not start or they were not saved.
    static bool startReadmeServer(FtpServer& server, const FtpServer::Behaviour& behaviour = {})
    {
        return server.start(FtpServer::Account(), {"www/thumbs", "www/images"}, behaviour) &&
               withReadmeFolders(server.settings()).save();
    }
    // Each named file of the folder ("thumbs" or "images") is on the server, in www/, as here.
    void verifyUploaded(const FtpServer& server, const QString& folder, const QStringList& names)
    {
        for (const QString& name : names)
            QCOMPARE(read(server.homePath("www/" + folder + '/' + name)),
                     read(path(folder + '/' + name)));
    }

    // The password is in ftpsettings.cfg and nowhere else: not on the terminal, not in any
    // other file the run could have written.
    void passwordStaysInItsFile(const BatchRun& run, const QString& password)
    {
        QVERIFY(!password.isEmpty());
        QVERIFY(!run.errorLines.join('\n').contains(password));
        QVERIFY(!run.output.contains(password));
        QDirIterator files(m_home.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString file = files.next();
            if (QFileInfo(file).fileName() != FtpSettings::fileName)
                QVERIFY2(!read(file).contains(password.toUtf8()), qPrintable(file));
        }
    }

    void drawMixedPhotos(bool thumbnailDirMissing);
    void drawPhonePhotos(const QList<QByteArray>& files);

    ImageSettings m_settings;
    TestHome m_home;

private slots:
    void initTestCase();
    void init();

    void makesTheSameFilesAsTheWindow_data();
    void makesTheSameFilesAsTheWindow();
    void makesPhonePhotosUprightAsTheWindowDoes();
    void interruptedRunLeavesOnlyWholeFiles_data();
    void interruptedRunLeavesOnlyWholeFiles();
    void interruptedUploadStopsWithinTheFile();
    void failedRenameIsNamedAndFails();
    void uploadsWhatItMade();
    void uploadsEveryFormatAndTheFragment();
    void reportsFailuresAndExitStatus_data();
    void reportsFailuresAndExitStatus();
    void listsEachPictureOnce();
    void readsButNeverWritesTheConfigDir();
    void answersHelpAndVersion_data();
    void answersHelpAndVersion();
    void refusesAServerItDoesNotTrust_data();
    void refusesAServerItDoesNotTrust();
    void saysWhenTheUploadIsNotEncrypted();
    void reportsWhyTheConnectionFailed_data();
    void reportsWhyTheConnectionFailed();
    void endsWhenTheServerStopsAnswering();
    void sendsOnlyWhatChangedSinceTheLastUpload();
    void dryRunSaysWhatItWouldDoAndSendsNothing();
    void removesFilesTheSetNoLongerMakesWhenAsked();
    void findsAndNamesAnyFileName_data();
    void findsAndNamesAnyFileName();
};

void BatchToolTest::initTestCase()
{
    QVERIFY(m_home.enter());
}

void BatchToolTest::init()
{
    for (const char* folder : {"photos", "thumbs", "images", "site"}) {
        QDir(path(folder)).removeRecursively();
        QVERIFY(QDir(m_home.path()).mkdir(folder));
    }
    QFile::remove(path(FtpSettings::fileName));
    // What earlier tests uploaded is not this test's business.
    QDir(path("data")).removeRecursively();
    m_settings = ImageSettings();
    m_settings.thumbnail.SaveDir = path("thumbs");
    m_settings.thumbnail.UseWidth = 1;
    m_settings.thumbnail.Width = 40;
    m_settings.thumbnail.Quality = 70;
    m_settings.thumbnail.Extension = "_t";
    m_settings.large.SaveDir = path("images");
    m_settings.large.UseHeight = 1;
    m_settings.large.Height = 90;
    m_settings.large.Quality = 85;
    QVERIFY(m_settings.save());
}

// Rows that mix groups and no group, a picture that cannot be read, a rename whose new name
// is taken, and a large image that would land on a listed photograph.
const QStringList mixedPhotos = {"IMG_1.jpg", "IMG_2.jpg",   "IMG_3.jpg", "IMG_4.jpg",
                                 "png.jpg",   "beach03.jpg", "IMG_7.jpg"};
const QStringList mixedGroups = {"2", "", "2", "1", "1", "", "2"};

void BatchToolTest::drawMixedPhotos(bool thumbnailDirMissing)
{
    m_settings.RenameOriginalFile = 1;
    m_settings.OriginalExtension = "_orig";
    m_settings.large.SaveDir = path("photos");
    if (thumbnailDirMissing)
        m_settings.thumbnail.SaveDir = path("gone");
    QVERIFY(m_settings.save());
    drawPhotos({"IMG_1.jpg", "IMG_2.jpg", "IMG_3.jpg", "IMG_4.jpg", "beach03.jpg", "IMG_7.jpg"});
    QVERIFY(write(path("photos/png.jpg"), png(QSize(20, 20))));
    QVERIFY(write(path("photos/city01_orig.jpg"), "taken"));
}

void BatchToolTest::makesTheSameFilesAsTheWindow_data()
{
    QTest::addColumn<bool>("oneCore");
    QTest::addColumn<bool>("thumbnailDirMissing");

    QTest::newRow("one core") << true << false;
    QTest::newRow("every core") << false << false;
    QTest::newRow("one core, no thumbnail directory") << true << true;
    QTest::newRow("every core, no thumbnail directory") << false << true;
}

// Both shells, on a pool of one thread and of every core (the pool follows the cores the
// process may use), make the same files and report the same things in the same order.
void BatchToolTest::makesTheSameFilesAsTheWindow()
{
    QFETCH(bool, oneCore);
    QFETCH(bool, thumbnailDirMissing);
    if (!oneCore && QThread::idealThreadCount() < 2)
        QSKIP("one core only");
    const QString invalidThumbnails =
        "Invalid thumbnail directory. Check Image Property settings under Options.";
    drawMixedPhotos(thumbnailDirMissing);
    {
        CoreLimit limit(oneCore);
        QCOMPARE(QThread::idealThreadCount() == 1, oneCore || QThread::idealThreadCount() == 1);
        RunningProgram program;
        QVERIFY(program.start());
        QStringList paths;
        for (const QString& photo : mixedPhotos)
            paths << path("photos/" + photo);
        program.add(paths);
        for (int row = 1; row <= mixedGroups.size(); ++row)
            program.setGroup(row, mixedGroups[row - 1]);
        program.groupName(1)->setText("city");
        program.groupName(2)->setText("beach");
        program.pressGenerate();
        QCOMPARE(program.prompter.messages,
                 thumbnailDirMissing ? QStringList({invalidThumbnails}) : QStringList());
    }
    const QMap<QString, QByteArray> windowThumbnails = contents(path("thumbs"));
    const QMap<QString, QByteArray> windowPhotos = contents(path("photos"));
    QCOMPARE(windowThumbnails.keys(), thumbnailDirMissing
                                          ? QStringList()
                                          : QStringList({"beach01_t.jpg", "beach02_t.jpg",
                                                         "beach03_t.jpg", "city01_t.jpg"}));
    QCOMPARE(windowPhotos.keys(),
             QStringList({"IMG_2.jpg", "IMG_4.jpg", "beach01.jpg", "beach01_orig.jpg",
                          "beach02.jpg", "beach02_orig.jpg", "beach03.jpg", "beach03_orig.jpg",
                          "city01.jpg", "city01_orig.jpg", "png.jpg"}));
    init();
    drawMixedPhotos(thumbnailDirMissing);

    const BatchRun run = runBatch({"--prefix",
                                   "2=beach",
                                   "--prefix",
                                   "1=city",
                                   "--group",
                                   "2",
                                   "photos/IMG_1.jpg",
                                   "--group",
                                   "none",
                                   "photos/IMG_2.jpg",
                                   "--group",
                                   "2",
                                   "photos/IMG_3.jpg",
                                   "--group",
                                   "1",
                                   "photos/IMG_4.jpg",
                                   "photos/png.jpg",
                                   "--group",
                                   "none",
                                   "photos/beach03.jpg",
                                   "--group",
                                   "2",
                                   "photos/IMG_7.jpg"},
                                  {}, oneCore);
    QStringList errorLines = {"Generating Images..."};
    if (thumbnailDirMissing)
        errorLines << invalidThumbnails;
    errorLines << "Failed to read picture " + path("photos/png.jpg") +
                      ": Not a JPEG or HEIC picture"
               << "Did not make file " + path("photos/beach03.jpg") +
                      ": would replace a picture of the list"
               << QStringLiteral("3 of 5 pictures made; 1 could not be read, 1 output could not "
                                 "be written%1.")
                      .arg(thumbnailDirMissing ? ", no thumbnails: their directory is missing"
                                               : "");
    QCOMPARE(run.errorLines, errorLines);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.output,
             QStringLiteral("7 pictures listed, %1 thumbnails and 3 large images written, "
                            "3 sources renamed, 0 files uploaded, 0 unchanged, 0 removed, "
                            "%2 failures\n")
                 .arg(thumbnailDirMissing ? 0 : 4)
                 .arg(thumbnailDirMissing ? 3 : 2));
    QCOMPARE(contents(path("thumbs")), windowThumbnails);
    QCOMPARE(contents(path("photos")), windowPhotos);
}

// A phone's portrait stored on its side with a Display P3 profile, a HEIC held upright, a
// HEIC named .jpg, and a Display P3 patch.
const QStringList phonePhotos = {"IMG_0001.jpg", "IMG_0002.HEIC", "IMG_0003.jpg", "IMG_0004.jpg"};

void BatchToolTest::drawPhonePhotos(const QList<QByteArray>& files)
{
    m_settings.RenameOriginalFile = 1;
    m_settings.OriginalExtension = "_orig";
    QVERIFY(m_settings.save());
    for (int index = 0; index < phonePhotos.size(); ++index)
        QVERIFY(write(path("photos/" + phonePhotos[index]), files[index]));
}

// Both shells turn phone photos upright, bring them into sRGB, publish nothing of their
// metadata, and name a renamed HEIC by its own type.
void BatchToolTest::makesPhonePhotosUprightAsTheWindowDoes()
{
    using namespace PhotoPictures;
    // Made once: a profile written twice may carry two times of day.
    const QByteArray p3 = rgbProfile(displayP3Space);
    const GdImage picture = quarters(160, 120);
    const QList<QByteArray> files = {withIccProfile(phonePhoto(160, 120), p3),
                                     heic(*picture, heif_orientation_rotate_90_cw),
                                     heic(*picture, heif_orientation_normal, p3),
                                     jpeg(patch(160, 120, {204, 51, 51}), JCS_RGB, {p3})};
    drawPhonePhotos(files);
    QStringList paths;
    for (const QString& photo : phonePhotos)
        paths << path("photos/" + photo);
    {
        RunningProgram program;
        QVERIFY(program.start());
        program.add(paths);
        for (int row = 1; row <= paths.size(); ++row)
            program.setGroup(row, "1");
        program.groupName(1)->setText("beach");
        program.pressGenerate();
        QCOMPARE(program.prompter.messages, QStringList());
    }
    const auto outputs = [this] {
        QMap<QString, QByteArray> both = contents(path("thumbs"));
        both.insert(contents(path("images")));
        return both;
    };
    const QMap<QString, QByteArray> windowOutputs = outputs();
    const QMap<QString, QByteArray> windowPhotos = contents(path("photos"));
    QCOMPARE(windowOutputs.size(), 8);
    QCOMPARE(windowPhotos.keys(), QStringList({"beach01_orig.jpg", "beach02_orig.HEIC",
                                               "beach03_orig.heic", "beach04_orig.jpg"}));
    const QSize upright(40, 53), stored(40, 30);
    const QSize thumbnails[] = {upright, upright, stored, stored};
    for (int index = 0; index < 4; ++index) {
        const QString name = QStringLiteral("beach%1").arg(index + 1, 2, 10, QLatin1Char('0'));
        QCOMPARE(jpegSize(path("thumbs/" + name + "_t.jpg")), thumbnails[index]);
        QCOMPARE(jpegSize(path("images/" + name + ".jpg")),
                 thumbnails[index] == upright ? QSize(67, 90) : QSize(120, 90));
    }
    for (const char* name : {"images/beach01.jpg", "images/beach02.jpg"})
        QCOMPARE(cornerQuarters(*readJpeg(read(path(name))), 3, 32), uprightCorners[5]);
    const GdImage patch = readJpeg(read(path("images/beach04.jpg")));
    const ColourMath::Rgb shown = ColourMath::rgbOf(patch->tpixels[45][60]);
    QVERIFY(ColourMath::farthest(shown, ColourMath::toSrgb(displayP3Space, {204, 51, 51})) <= 4);
    for (const QByteArray& output : windowOutputs) {
        QCOMPARE(metadataBlocks(output), QStringList());
        QVERIFY(!output.contains("SERIAL-0042"));
    }

    init();
    drawPhonePhotos(files);
    const BatchRun run = runBatch(QStringList{"--prefix", "1=beach"} + paths);
    QCOMPARE(run.errorLines, QStringList({"Generating Images...", "Ready"}));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.output, QStringLiteral("4 pictures listed, 4 thumbnails and 4 large images "
                                        "written, 4 sources renamed, 0 files uploaded, "
                                        "0 unchanged, 0 removed, 0 failures\n"));
    QCOMPARE(outputs(), windowOutputs);
    QCOMPARE(contents(path("photos")), windowPhotos);
}

void BatchToolTest::interruptedRunLeavesOnlyWholeFiles_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("Ctrl+C") << SIGINT << 130;
    QTest::newRow("SIGTERM") << SIGTERM << 143;
    QTest::newRow("SIGHUP") << SIGHUP << 129;
}

// Ctrl+C, or a signal to end, in the middle of a run: the file being written is finished,
// nothing after it is started, no temporary file stays, and the summary so far is printed.
void BatchToolTest::interruptedRunLeavesOnlyWholeFiles()
{
    QFETCH(int, signal);
    QFETCH(int, exitCode);
    const int pictures = 60;
    m_settings.large.Height = 1200;
    QVERIFY(m_settings.save());
    const QByteArray photo = jpeg(QSize(2000, 1500));
    QStringList arguments = {"--prefix", "1=p"};
    for (int index = 0; index < pictures; ++index) {
        const QString name = QStringLiteral("photos/IMG_%1.jpg").arg(index);
        QVERIFY(write(path(name), photo));
        arguments << name;
    }
    QProcess process;
    process.setWorkingDirectory(m_home.path());
    process.start(QStringLiteral(MORVANE_BATCH_PATH), arguments);
    QVERIFY(process.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(!QDir(path("images")).isEmpty(), 30000);
    // A process that has ended has no id, and kill(0) would reach every test of the run.
    QVERIFY(process.processId() > 0);
    QCOMPARE(kill(pid_t(process.processId()), signal), 0);
    QVERIFY(process.waitForFinished(60000));

    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), exitCode);
    QVERIFY(process.readAllStandardError().contains("morvane-batch: interrupted\n"));
    const QStringList thumbnails = QDir(path("thumbs")).entryList(QDir::Files | QDir::Hidden);
    const QStringList images = QDir(path("images")).entryList(QDir::Files | QDir::Hidden);
    QVERIFY2(images.size() < pictures, "the run ended before it was interrupted");
    QCOMPARE(QString::fromLocal8Bit(process.readAllStandardOutput()),
             QStringLiteral("%1 pictures listed, %2 thumbnails and %3 large images written, 0 "
                            "sources renamed, 0 files uploaded, 0 unchanged, 0 removed, "
                            "0 failures\n")
                 .arg(pictures)
                 .arg(thumbnails.size())
                 .arg(images.size()));
    for (const QString& name : thumbnails)
        QCOMPARE(jpegSize(path("thumbs/" + name)), QSize(40, 30));
    for (const QString& name : images)
        QCOMPARE(jpegSize(path("images/" + name)), QSize(1600, 1200));
}

// Ctrl+C while files go out to a slow server: the one being sent is given up and taken off
// the server, nothing more is sent, and the summary says what was.
void BatchToolTest::interruptedUploadStopsWithinTheFile()
{
    REQUIRE_FTP_SERVER();
    FtpServer server;
    FtpServer::Behaviour slow;
    slow.readLimit = 2048;
    QVERIFY(startReadmeServer(server, slow));
    m_settings.large = {path("images"), 1200, 0, 1, 0, 100, ""};
    QVERIFY(m_settings.save());
    QVERIFY(write(path("photos/a.jpg"), jpeg(QSize(1200, 900))));
    QVERIFY(write(path("photos/b.jpg"), jpeg(QSize(1200, 900))));
    QProcess process;
    process.setWorkingDirectory(m_home.path());
    process.start(QStringLiteral(MORVANE_BATCH_PATH), {"--upload", "photos/a.jpg", "photos/b.jpg"});
    QVERIFY(process.waitForStarted());
    // A large image is on its way, under a temporary name beside its own.
    QTRY_VERIFY_WITH_TIMEOUT(
        !QDir(server.homePath("www/images")).entryList(QDir::Files | QDir::Hidden).isEmpty(),
        30000);
    QVERIFY(process.processId() > 0);
    QCOMPARE(kill(pid_t(process.processId()), SIGINT), 0);
    QVERIFY(process.waitForFinished(10000));

    QCOMPARE(process.exitCode(), 130);
    const QStringList errors = QString::fromLocal8Bit(process.readAllStandardError()).split(u'\n');
    QVERIFY(errors.contains("morvane-batch: interrupted"));
    const QStringList sentLine =
        errors.filter(QRegularExpression("^Cancelled: \\d of 4 files sent\\.$"));
    QCOMPARE(sentLine.size(), 1);
    const QString sent = sentLine[0].section(u' ', 1, 1);
    QCOMPARE(QString::fromLocal8Bit(process.readAllStandardOutput()),
             QStringLiteral("2 pictures listed, 2 thumbnails and 2 large images written, 0 sources "
                            "renamed, %1 files uploaded, 0 unchanged, 0 removed, "
                            "0 failures\n")
                 .arg(sent));
    // Whole files under their own names, and no temporary one left.
    for (const QString folder : {"thumbs", "images"}) {
        const QDir remote(server.homePath("www/" + folder));
        verifyUploaded(server, folder, remote.entryList(QDir::Files | QDir::Hidden));
    }
}

// A rename the file system refuses is named, and the run fails; a name that is taken keeps
// its silence.
void BatchToolTest::failedRenameIsNamedAndFails()
{
    m_settings.RenameOriginalFile = 1;
    // A name longer than a file system takes.
    m_settings.OriginalExtension = QString(300, u'x');
    QVERIFY(m_settings.save());
    drawPhotos({"a.jpg"});

    const BatchRun run = runBatch({"photos/a.jpg"});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.errorLines,
             QStringList({"Generating Images...",
                          "Failed to rename picture to " +
                              path("photos/01" + m_settings.OriginalExtension + ".jpg") +
                              ": name too long",
                          "1 of 1 picture made; 1 could not be renamed."}));
    QVERIFY(QFile::exists(path("photos/a.jpg")));
}

void BatchToolTest::uploadsWhatItMade()
{
    REQUIRE_FTP_SERVER();
    FtpServer server;
    QVERIFY(startReadmeServer(server));
    drawPhotos({"a.jpg", "b.jpg"});

    const BatchRun run =
        runBatch({"--upload", "--prefix", "1=beach", "photos/a.jpg", "photos/b.jpg"});
    QCOMPARE(run.errorLines,
             QStringList({"Generating Images...", "Ready", "Connecting to FTP Server...", "Ready",
                          "Uploading Images...", "Upload Complete"}));
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.output, QStringLiteral("2 pictures listed, 2 thumbnails and 2 large images "
                                        "written, 0 sources renamed, 4 files uploaded, "
                                        "0 unchanged, 0 removed, 0 failures\n"));
    verifyUploaded(server, "thumbs", {"beach01_t.jpg", "beach02_t.jpg"});
    verifyUploaded(server, "images", {"beach01.jpg", "beach02.jpg"});
    QVERIFY(!server.commandLog().contains(FtpServer::Account().password));
}

// Every output of a profile goes to the profile's remote folder, the fragment with the
// thumbnails, linking the large images where the upload put them.
void BatchToolTest::uploadsEveryFormatAndTheFragment()
{
    REQUIRE_FTP_SERVER();
    FtpServer server;
    QVERIFY(startReadmeServer(server));
    m_settings.thumbnail.Webp = 1;
    m_settings.thumbnail.Avif = 1;
    m_settings.thumbnail.Double = 1;
    m_settings.large.Webp = 1;
    m_settings.WriteMarkup = 1;
    QVERIFY(m_settings.save());
    drawPhotos({"a.jpg", "b.jpg"});

    const BatchRun run =
        runBatch({"--upload", "--prefix", "1=beach", "photos/a.jpg", "photos/b.jpg"});
    QCOMPARE(run.exitCode, 0);
    // Each profile counts its files of every format and size; the fragment is among the
    // files sent.
    QCOMPARE(run.output, QStringLiteral("2 pictures listed, 12 thumbnails and 4 large images "
                                        "written, 0 sources renamed, 17 files uploaded, "
                                        "0 unchanged, 0 removed, 0 failures\n"));
    const QStringList thumbnails = QDir(path("thumbs")).entryList(QDir::Files);
    QCOMPARE(thumbnails.size(), 13);
    QVERIFY(thumbnails.contains("beach.html") && thumbnails.contains("beach02_t@2x.avif"));
    verifyUploaded(server, "thumbs", thumbnails);
    const QStringList images = QDir(path("images")).entryList(QDir::Files);
    QCOMPARE(images, QStringList({"beach01.jpg", "beach01.webp", "beach02.jpg", "beach02.webp"}));
    verifyUploaded(server, "images", images);
    QVERIFY(read(path("thumbs/beach.html")).contains("<a href=\"../images/beach01.jpg\">"));
}

void BatchToolTest::reportsFailuresAndExitStatus_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("largeSaveDir"); // empty: the usual one
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("errorLines"); // %1 stands for the home folder
    QTest::addColumn<QString>("summary");

    const QString usage = "Usage: morvane-batch [--upload [--dry-run] [--remove-stale[=all]]] "
                          "[--config-dir DIR] [--prefix N=TEXT]... [--group N] FILE... [--group "
                          "M] FILE...";
    QTest::newRow("unknown option")
        << QStringList{"--bogus", "photos/a.jpg"} << QString() << 2
        << QStringList{"morvane-batch: unknown option --bogus", usage} << QString();
    QTest::newRow("bad group")
        << QStringList{"--group", "6", "photos/a.jpg"} << QString() << 2
        << QStringList{"morvane-batch: --group 6: the group is 1 to 5 or none", usage} << QString();
    QTest::newRow("prefix without =")
        << QStringList{"--prefix", "beach", "photos/a.jpg"} << QString() << 2
        << QStringList{"morvane-batch: --prefix beach: write it as N=TEXT", usage} << QString();
    QTest::newRow("config dir that does not exist")
        << QStringList{"--config-dir", "nowhere", "photos/a.jpg"} << QString() << 2
        << QStringList{"morvane-batch: --config-dir nowhere: no such directory", usage}
        << QString();
    QTest::newRow("missing file")
        << QStringList{"photos/gone.jpg", "photos/a.jpg"} << QString() << 1
        << QStringList{"Failed to find file %1/photos/gone.jpg", "Generating Images...", "Ready"}
        << "1 pictures listed, 1 thumbnails and 1 large images written, 0 sources renamed, "
           "0 files uploaded, 0 unchanged, 0 removed, 1 failures";
    QTest::newRow("unreadable picture")
        << QStringList{"photos/png.jpg", "photos/a.jpg"} << QString() << 1
        << QStringList{"Generating Images...",
                       "Failed to read picture %1/photos/png.jpg: Not a JPEG or HEIC picture",
                       "1 of 2 pictures made; 1 could not be read."}
        << "2 pictures listed, 1 thumbnails and 1 large images written, 0 sources renamed, "
           "0 files uploaded, 0 unchanged, 0 removed, 1 failures";
    QTest::newRow("missing save directory")
        << QStringList{"photos/a.jpg"} << "gone" << 1
        << QStringList{"Generating Images...",
                       "Invalid large image directory. Check Image Property settings under "
                       "Options.",
                       "1 of 1 picture made; no large images: their directory is missing."}
        << "1 pictures listed, 1 thumbnails and 0 large images written, 0 sources renamed, "
           "0 files uploaded, 0 unchanged, 0 removed, 1 failures";
    QTest::newRow("output not written")
        << QStringList{"photos/a.jpg"} << "photos/a.jpg" << 1
        << QStringList{"Generating Images...",
                       "Failed to write file %1/photos/a.jpg/01.jpg: not a folder",
                       "0 of 1 picture made; 1 output could not be written."}
        << "1 pictures listed, 1 thumbnails and 0 large images written, 0 sources renamed, "
           "0 files uploaded, 0 unchanged, 0 removed, 1 failures";
    QTest::newRow("refused connection")
        << QStringList{"--upload", "photos/a.jpg"} << QString() << 1
        << QStringList{"Generating Images...",
                       "Ready",
                       "Connecting to FTP Server...",
                       "Failed to connect to FTP server. Check FTP Settings under Options. "
                       "The server refused the connection.",
                       "Ready",
                       "Uploading Images...",
                       "Upload failed: no connection to the server."}
        << "1 pictures listed, 1 thumbnails and 1 large images written, 0 sources renamed, "
           "0 files uploaded, 0 unchanged, 0 removed, 1 failures";
}

void BatchToolTest::reportsFailuresAndExitStatus()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, largeSaveDir);
    QFETCH(int, exitCode);
    QFETCH(QStringList, errorLines);
    QFETCH(QString, summary);
    drawPhotos({"a.jpg"});
    QVERIFY(write(path("photos/png.jpg"), png(QSize(20, 20))));
    if (!largeSaveDir.isEmpty()) {
        m_settings.large.SaveDir = path(largeSaveDir);
        QVERIFY(m_settings.save());
    }
    const RefusingPort refusing;
    QVERIFY(refusing.port() != 0);
    FtpSettings ftp;
    ftp.Server = "127.0.0.1";
    ftp.Port = refusing.port();
    QVERIFY(ftp.save());

    const BatchRun run = runBatch(arguments);
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == 2) {
        // The reason, a blank line, then the usage.
        QCOMPARE(run.errorLines.mid(0, 2), errorLines);
        QVERIFY(run.output.isEmpty());
        QVERIFY(QDir(path("thumbs")).isEmpty());
        return;
    }
    for (QString& line : errorLines)
        line.replace("%1", m_home.path());
    QCOMPARE(run.errorLines, errorLines);
    QCOMPARE(run.output, summary + '\n');
}

void BatchToolTest::listsEachPictureOnce()
{
    drawPhotos({"a.jpg", "b.jpg"});
    // A repeat keeps the picture's first place and group, as the window's Add ignores it.
    const BatchRun run =
        runBatch({"--prefix", "1=one", "--prefix", "2=two", "photos/a.jpg", "--group", "2",
                  "photos/b.jpg", path("photos/a.jpg"), "photos/a.jpg"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.output.startsWith("2 pictures listed, 2 thumbnails"), qPrintable(run.output));
    QCOMPARE(contents(path("thumbs")).keys(), QStringList({"one01_t.jpg", "two01_t.jpg"}));
    QCOMPARE(contents(path("images")).keys(), QStringList({"one01.jpg", "two01.jpg"}));
}

void BatchToolTest::readsButNeverWritesTheConfigDir()
{
    drawPhotos({"a.jpg"});
    m_settings.thumbnail.SaveDir = path("site");
    m_settings.large.SaveDir = path("site");
    m_settings.large.Extension = "_big";
    QVERIFY(m_settings.save(path("site/morvane.cfg")));
    const QDateTime written = QFileInfo(path("site/morvane.cfg")).lastModified();
    const QByteArray bytes = read(path("site/morvane.cfg"));
    QTemporaryDir elsewhere;

    const BatchRun run =
        runBatch({"--config-dir", path("site"), path("photos/a.jpg")}, elsewhere.path());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(contents(path("site")).keys(), QStringList({"01_big.jpg", "01_t.jpg", "morvane.cfg"}));
    QCOMPARE(read(path("site/morvane.cfg")), bytes);
    QCOMPARE(QFileInfo(path("site/morvane.cfg")).lastModified(), written);
    // The working directory's settings play no part, and none are made there.
    QVERIFY(QDir(path("thumbs")).isEmpty());
    QVERIFY(QDir(elsewhere.path()).isEmpty());
}

void BatchToolTest::answersHelpAndVersion_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("firstLine");

    QTest::newRow("help") << "--help"
                          << "Usage: morvane-batch [--upload [--dry-run] [--remove-stale[=all]]] "
                             "[--config-dir DIR] [--prefix N=TEXT]... [--group N] FILE... "
                             "[--group M] FILE...";
    QTest::newRow("version") << "--version"
                             << "morvane-batch " MORVANE_VERSION;
}

void BatchToolTest::answersHelpAndVersion()
{
    QFETCH(QString, option);
    const BatchRun run = runBatch({option});
    QCOMPARE(run.exitCode, 0);
    QTEST(run.output.section(u'\n', 0, 0), "firstLine");
    QVERIFY(run.errorLines.isEmpty());
}

void BatchToolTest::refusesAServerItDoesNotTrust_data()
{
    QTest::addColumn<UploadPeer::Kind>("kind");
    QTest::addColumn<QString>("reason");

    QTest::newRow("SFTP") << UploadPeer::Kind::Sftp << "The server's host key is not known yet.";
    QTest::newRow("FTP over TLS, self-signed")
        << UploadPeer::Kind::FtpTls << "The server's certificate is not trusted.";
}

void BatchToolTest::refusesAServerItDoesNotTrust()
{
    QFETCH(UploadPeer::Kind, kind);
    QFETCH(QString, reason);
    REQUIRE_UPLOAD_PEER(kind);
    UploadPeer peer;
    QVERIFY(peer.start(kind, {"www/thumbs", "www/images"}, UploadPeer::Certificate::SelfSigned));
    FtpSettings ftp = withReadmeFolders(peer.settings());
    ftp.TrustedFingerprint.clear();
    QVERIFY(ftp.save());
    drawPhotos({"a.jpg"});

    const BatchRun refused = runBatch({"--upload", "photos/a.jpg"});
    QCOMPARE(refused.exitCode, 1);
    const QString trustLine = "TrustedFingerprint = " + peer.keyFingerprint();
    QVERIFY2(refused.errorLines.contains(reason), qPrintable(refused.errorLines.join('\n')));
    QVERIFY(refused.errorLines.contains(trustLine));
    QVERIFY(refused.errorLines.contains(
        "Failed to connect to FTP server. Check FTP Settings under Options. " + reason));
    QVERIFY(refused.output.contains(", 0 files uploaded, 0 unchanged, 0 removed, 1 failures"));
    QVERIFY(!peer.sawLogin());
    passwordStaysInItsFile(refused, ftp.Password);

    // The line it names, added to the settings, trusts the server.
    QFile settings(FtpSettings::fileName);
    QVERIFY(settings.open(QIODevice::Append));
    settings.write(trustLine.toUtf8() + '\n');
    settings.close();
    const BatchRun trusted = runBatch({"--upload", "photos/a.jpg"});
    QCOMPARE(trusted.exitCode, 0);
    QVERIFY(trusted.output.contains(", 2 files uploaded, 0 unchanged, 0 removed, 0 failures"));
    QCOMPARE(read(peer.homePath("www/images/01.jpg")), read(path("images/01.jpg")));
    passwordStaysInItsFile(trusted, ftp.Password);
}

void BatchToolTest::saysWhenTheUploadIsNotEncrypted()
{
    REQUIRE_UPLOAD_PEER(UploadPeer::Kind::Ftp);
    UploadPeer peer;
    QVERIFY(peer.start(UploadPeer::Kind::Ftp, {"www/thumbs", "www/images"}));
    FtpSettings ftp = withReadmeFolders(peer.settings());
    ftp.Security = 1;
    QVERIFY(ftp.save());
    drawPhotos({"a.jpg"});

    const BatchRun run = runBatch({"--upload", "photos/a.jpg"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.errorLines.last(),
             QStringLiteral("Upload Complete, without encryption: the server offers no TLS."));
    QVERIFY(run.output.contains(", 2 files uploaded, 0 unchanged, 0 removed, 0 failures"));
    passwordStaysInItsFile(run, ftp.Password);
}

void BatchToolTest::reportsWhyTheConnectionFailed_data()
{
    QTest::addColumn<int>("port"); // 0: the server's own
    QTest::addColumn<int>("security");
    QTest::addColumn<QString>("reason");

    // clang-format off
    QTest::newRow("port beyond 65535") << 67837 << 0 << "The port must be between 0 and 65535.";
    QTest::newRow("TLS required, none offered")
        << 0 << 2 << "The server does not offer FTP over TLS, so nothing was sent.";
    // clang-format on
}

void BatchToolTest::reportsWhyTheConnectionFailed()
{
    QFETCH(int, port);
    QFETCH(int, security);
    QFETCH(QString, reason);
    REQUIRE_UPLOAD_PEER(UploadPeer::Kind::Ftp);
    UploadPeer peer;
    QVERIFY(peer.start(UploadPeer::Kind::Ftp, {"www/thumbs", "www/images"}));
    FtpSettings ftp = withReadmeFolders(peer.settings());
    if (port != 0)
        ftp.Port = port;
    ftp.Security = security;
    QVERIFY(ftp.save());
    drawPhotos({"a.jpg"});

    const BatchRun run = runBatch({"--upload", "photos/a.jpg"});
    QCOMPARE(run.exitCode, 1);
    QVERIFY(run.errorLines.contains(
        "Failed to connect to FTP server. Check FTP Settings under Options. " + reason));
    QVERIFY(!peer.sawLogin());
    passwordStaysInItsFile(run, ftp.Password);
}

void BatchToolTest::endsWhenTheServerStopsAnswering()
{
    REQUIRE_FTP_SERVER();
    FtpServer server;
    FtpServer::Behaviour stalling;
    stalling.stallOn = {"*"};
    QVERIFY(startReadmeServer(server, stalling));
    drawPhotos({"a.jpg", "b.jpg"});

    // The first two files wait out the time-outs of 5 seconds, then the upload ends; the
    // others went out beside them, and wait as long.
    const BatchRun run = runBatch({"--upload", "photos/a.jpg", "photos/b.jpg"});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.errorLines.mid(run.errorLines.size() - 3),
             QStringList({"Uploading Images...",
                          "The server stopped answering; 4 files were not uploaded.",
                          "Upload failed: 0 of 4 files sent."}));
    const qsizetype stores = server.commandLog().count("<- STOR");
    QVERIFY2(stores >= 2 && stores <= 4, qPrintable(QString::number(stores)));
    passwordStaysInItsFile(run, server.settings().Password);
}

// The record of what was sent lives in the user's data folder, the window's own, so a second
// upload sends only what changed, whichever of the two made the first.
void BatchToolTest::sendsOnlyWhatChangedSinceTheLastUpload()
{
    REQUIRE_FTP_SERVER();
    FtpServer server;
    QVERIFY(startReadmeServer(server));
    QVERIFY(write(path("photos/a.jpg"), jpeg(QSize(160, 120))));
    QVERIFY(write(path("photos/b.jpg"), jpeg(QSize(120, 160))));
    const QStringList arguments = {"--upload", "--prefix", "1=beach", "photos/a.jpg",
                                   "photos/b.jpg"};
    const QString listed = "2 pictures listed, 2 thumbnails and 2 large images written, 0 "
                           "sources renamed, ";
    QCOMPARE(runBatch(arguments).output,
             listed + "4 files uploaded, 0 unchanged, 0 removed, 0 failures\n");
    QCOMPARE(QDir(path("data/Morvane/uploads")).entryList(QDir::Files).size(), 1);

    const BatchRun same = runBatch(arguments);
    QCOMPARE(same.exitCode, 0);
    QCOMPARE(same.errorLines.last(), QStringLiteral("Upload Complete: 0 files sent, 4 unchanged."));
    QCOMPARE(same.output, listed + "0 files uploaded, 4 unchanged, 0 removed, 0 failures\n");

    QVERIFY(write(path("photos/b.jpg"), jpeg(QSize(200, 100))));
    const BatchRun changed = runBatch(arguments);
    QCOMPARE(changed.exitCode, 0);
    QCOMPARE(changed.errorLines.last(),
             QStringLiteral("Upload Complete: 2 files sent, 2 unchanged."));
    QCOMPARE(changed.output, listed + "2 files uploaded, 2 unchanged, 0 removed, 0 failures\n");
    QCOMPARE(read(server.homePath("www/images/beach02.jpg")), read(path("images/beach02.jpg")));
    QCOMPARE(server.commandLog().count("<- STOR"), 6);
}

void BatchToolTest::dryRunSaysWhatItWouldDoAndSendsNothing()
{
    REQUIRE_FTP_SERVER();
    FtpServer server;
    QVERIFY(startReadmeServer(server));
    QVERIFY(write(path("photos/a.jpg"), jpeg(QSize(160, 120))));
    QVERIFY(write(path("photos/b.jpg"), jpeg(QSize(120, 160))));
    QVERIFY(write(path("photos/c.jpg"), jpeg(QSize(200, 100))));
    QCOMPARE(runBatch({"--upload", "--prefix", "1=beach", "photos/a.jpg", "photos/b.jpg",
                       "photos/c.jpg"})
                 .exitCode,
             0);
    const QString logBefore = server.commandLog();

    // Without b, c takes its number: beach02 changes and beach03 is no longer made.
    const BatchRun run = runBatch({"--upload", "--dry-run", "--remove-stale", "--prefix", "1=beach",
                                   "photos/a.jpg", "photos/c.jpg"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.output, QStringLiteral("skip /www/thumbs/beach01_t.jpg\n"
                                        "send /www/thumbs/beach02_t.jpg\n"
                                        "skip /www/images/beach01.jpg\n"
                                        "send /www/images/beach02.jpg\n"
                                        "remove /www/thumbs/beach03_t.jpg\n"
                                        "remove /www/images/beach03.jpg\n"
                                        "2 pictures listed, 2 thumbnails and 2 large images "
                                        "written, 0 sources renamed, 0 files uploaded, "
                                        "2 unchanged, 0 removed, 0 failures\n"));
    QCOMPARE(run.errorLines.last(),
             QStringLiteral("Dry run: 2 files to send, 2 unchanged, 2 to remove."));
    const QString logAfter = server.commandLog().mid(logBefore.size());
    for (const char* command : {"<- STOR", "<- DELE", "<- RNFR", "<- MKD"})
        QVERIFY2(!logAfter.contains(command), command);
    QVERIFY(QFile::exists(server.homePath("www/images/beach03.jpg")));
    QVERIFY(read(server.homePath("www/images/beach02.jpg")) != read(path("images/beach02.jpg")));
}

void BatchToolTest::removesFilesTheSetNoLongerMakesWhenAsked()
{
    REQUIRE_FTP_SERVER();
    FtpServer server;
    QVERIFY(startReadmeServer(server));
    QVERIFY(write(server.homePath("www/images/mine.jpg"), "not Morvane's"));
    drawPhotos({"a.jpg", "b.jpg"});
    QCOMPARE(runBatch({"--upload", "photos/a.jpg", "photos/b.jpg"}).exitCode, 0);

    // Not asked: nothing goes.
    QCOMPARE(runBatch({"--upload", "photos/a.jpg"}).exitCode, 0);
    QVERIFY(QFile::exists(server.homePath("www/images/02.jpg")));

    const BatchRun run = runBatch({"--upload", "--remove-stale", "photos/a.jpg"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.errorLines.last(),
             QStringLiteral("Upload Complete: 0 files sent, 2 unchanged, 2 removed."));
    QVERIFY(run.output.endsWith(", 0 files uploaded, 2 unchanged, 2 removed, 0 failures\n"));
    QCOMPARE(contents(server.homePath("www/images")).keys(), QStringList({"01.jpg", "mine.jpg"}));
    QCOMPARE(contents(server.homePath("www/thumbs")).keys(), QStringList({"01_t.jpg"}));
}

void BatchToolTest::findsAndNamesAnyFileName_data()
{
    QTest::addColumn<QByteArray>("name");    // in photos/, as the file system holds it
    QTest::addColumn<QByteArray>("content"); // none: the file does not exist
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("errorLines"); // %1 stands for the home folder
    QTest::addColumn<QString>("summary");

    const QString made = "1 pictures listed, 1 thumbnails and 1 large images written, "
                         "0 sources renamed, 0 files uploaded, 0 unchanged, 0 removed, 0 failures";
    const QString missing =
        "0 pictures listed, 0 thumbnails and 0 large images written, "
        "0 sources renamed, 0 files uploaded, 0 unchanged, 0 removed, 1 failures";
    const QByteArray picture = jpeg(QSize(80, 60));
    QTest::newRow("latin-1 name") << QByteArray("lat\xedn.jpg") << picture << 0
                                  << QStringList{"Generating Images...", "Ready"} << made;
    QTest::newRow("latin-1 name missing")
        << QByteArray("gon\xe9.jpg") << QByteArray() << 1
        << QStringList{"Failed to find file %1/photos/gon\\xe9.jpg", "Generating Images...",
                       "Ready"}
        << missing;
    QTest::newRow("newline in name") << QByteArray("two\nlines.jpg") << picture << 0
                                     << QStringList{"Generating Images...", "Ready"} << made;
    QTest::newRow("newline in name missing")
        << QByteArray("two\nlines.jpg") << QByteArray() << 1
        << QStringList{"Failed to find file %1/photos/two\\nlines.jpg", "Generating Images...",
                       "Ready"}
        << missing;
    QTest::newRow("newline in name unreadable")
        << QByteArray("bad\nname.jpg") << png(QSize(20, 20)) << 1
        << QStringList{"Generating Images...",
                       "Failed to read picture %1/photos/bad\\nname.jpg: Not a JPEG or HEIC "
                       "picture",
                       "0 of 1 picture made; 1 could not be read."}
        << "1 pictures listed, 0 thumbnails and 0 large images written, 0 sources renamed, "
           "0 files uploaded, 0 unchanged, 0 removed, 1 failures";
}

void BatchToolTest::findsAndNamesAnyFileName()
{
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, content);
    QFETCH(QStringList, errorLines);
    QFETCH(QString, summary);
    const QByteArray relative = "photos/" + name;
    // QDir cannot remove a name that is not valid UTF-8, so the next test could not start.
    const auto removeFile = qScopeGuard([&] { std::remove(relative.constData()); });
    if (!content.isEmpty()) {
        std::FILE* file = std::fopen(relative.constData(), "wb");
        QVERIFY(file);
        QCOMPARE(std::fwrite(content.constData(), 1, content.size(), file), size_t(content.size()));
        QCOMPARE(std::fclose(file), 0);
    }

    const BatchRun run = runBatchWithBytes({"--prefix", "1=any", relative});
    QTEST(run.exitCode, "exitCode");
    for (QString& line : errorLines)
        line.replace("%1", m_home.path());
    QCOMPARE(run.errorLines, errorLines);
    QCOMPARE(run.output, summary + '\n');
    QCOMPARE(contents(path("thumbs")).keys(), run.output.startsWith("1 pictures listed, 1")
                                                  ? QStringList{"any01_t.jpg"}
                                                  : QStringList{});
}

QTEST_MAIN(BatchToolTest)
#include "tst_batchtool.moc"
