#include "FtpServer.h"

#include "base/WorkObserver.h"
#include "settings/FtpSettings.h"
#include "upload/NetworkLibrary.h"
#include "upload/Uploader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Writes down every report of the upload, in order.
class RecordingObserver : public WorkObserver
{
public:
    void status(const QString& text) override { events << "status " + text; }
    void message(const QString& text) override
    {
        events << "message " + text;
        messages << text;
    }
    void progressRange(int maximum) override
    {
        events << "range " + QString::number(maximum);
        position = 0;
    }
    void progressStep() override { ++position; }
    void progressReset() override
    {
        events << "reset at " + QString::number(position);
        position = 0;
    }

    QStringList events;
    QStringList messages;
    int position = 0;
};

const QString connectFailed =
    QStringLiteral("Failed to connect to FTP server.\nCheck FTP Settings under Options.");
const QString thumbnailDirectoryMissing = QStringLiteral(
    "Failed to find thumbnail directory on FTP server.\nCheck FTP Settings under Options.");
const QString largeImageDirectoryMissing = QStringLiteral(
    "Failed to find large image directory on FTP server.\nCheck FTP Settings under Options.");

} // namespace

class UploaderTest : public QObject
{
    Q_OBJECT

private:
    // Local files named prefix01<suffix>.jpg, prefix02<suffix>.jpg, ... each holding its own name.
    QStringList writeLocalFiles(const QString& prefix, int count, const QString& suffix)
    {
        QStringList paths;
        for (int i = 1; i <= count; ++i) {
            const QString path = m_local.filePath(QStringLiteral("%1%2%3.jpg")
                                                      .arg(prefix)
                                                      .arg(i, 2, 10, QLatin1Char('0'))
                                                      .arg(suffix));
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly))
                return {};
            file.write("\xff\xd8\r\n" + path.toUtf8());
            paths << path;
        }
        return paths;
    }

    // The file the server holds for a local file, or an empty string when it has none.
    QByteArray remoteCopy(const QString& directory, const QString& localPath)
    {
        QFile file(m_server->homePath(directory + "/" + Uploader::remoteName(localPath)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QByteArray localBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    FtpSettings settingsFor(const QString& thumbnailDir, const QString& imageDir)
    {
        FtpSettings settings;
        settings.Server = "127.0.0.1";
        settings.Port = m_server->port();
        settings.UserName = m_account.userName;
        settings.Password = m_account.password;
        settings.Passive = 1;
        settings.ThumbnailFtpDir = thumbnailDir;
        settings.ImageFtpDir = imageDir;
        return settings;
    }

    NetworkLibrary m_network;
    QTemporaryDir m_local;
    FtpServer::Account m_account;
    std::unique_ptr<FtpServer> m_server;
    RecordingObserver m_observer;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void remoteNameFollowsTheLastSeparator_data();
    void remoteNameFollowsTheLastSeparator();
    void sendsEachListIntoItsDirectory_data();
    void sendsEachListIntoItsDirectory();
    void missingDirectorySkipsOnlyItsFiles_data();
    void missingDirectorySkipsOnlyItsFiles();
    void reportsEachFileThatCannotBeStored();
    void failedConnectSendsNothing_data();
    void failedConnectSendsNothing();
    void progressCountsTenThumbnailsAsOneStep_data();
    void progressCountsTenThumbnailsAsOneStep();
    void keepsTheLastConnectionOpenUntilTheNextUpload();
};

void UploaderTest::initTestCase()
{
    QVERIFY(m_network.isReady());
}

void UploaderTest::init()
{
    m_observer = RecordingObserver();
    if (QByteArray(QTest::currentTestFunction()) == "remoteNameFollowsTheLastSeparator")
        return;
    REQUIRE_FTP_SERVER();
    m_account = FtpServer::Account();
    m_account.readOnly = {"locked"};
    m_server = std::make_unique<FtpServer>();
    QVERIFY(m_server->start(m_account, {"thumbs", "images", "www/thumbs", "www/images", "locked"}));
}

void UploaderTest::cleanup()
{
    m_server.reset();
}

void UploaderTest::remoteNameFollowsTheLastSeparator_data()
{
    QTest::addColumn<QString>("localPath");
    QTest::addColumn<QString>("remoteName");

    // clang-format off
    QTest::newRow("slash after backslash") << "C:\\Site\\thumbs/beach01_t.jpg" << "beach01_t.jpg";
    QTest::newRow("backslash in the name") << "/site/thumbs/back\\slash01_t.jpg" << "back\\slash01_t.jpg";
    QTest::newRow("backslash after slash") << "/site/thumbs\\b01.jpg" << "thumbs\\b01.jpg";
    QTest::newRow("no separator") << "a.jpg" << "a.jpg";
    QTest::newRow("separator at the end") << "/site/" << "";
    // clang-format on
}

void UploaderTest::remoteNameFollowsTheLastSeparator()
{
    QFETCH(QString, localPath);
    QTEST(Uploader::remoteName(localPath), "remoteName");
}

void UploaderTest::sendsEachListIntoItsDirectory_data()
{
    QTest::addColumn<QString>("thumbnailDir");
    QTest::addColumn<QString>("imageDir");
    QTest::addColumn<QString>("thumbnailsLandIn");
    QTest::addColumn<QString>("imagesLandIn");
    QTest::addColumn<bool>("passive");

    // clang-format off
    QTest::newRow("both from the login directory")
        << "thumbs" << "images" << "thumbs" << "images" << true;
    QTest::newRow("large images beside the thumbnails")
        << "www/thumbs" << "images" << "www/thumbs" << "www/images" << true;
    QTest::newRow("absolute large-image directory")
        << "www/thumbs" << "/images" << "www/thumbs" << "images" << true;
    QTest::newRow("active mode") << "thumbs" << "images" << "thumbs" << "images" << false;
    // clang-format on
}

void UploaderTest::sendsEachListIntoItsDirectory()
{
    QFETCH(QString, thumbnailDir);
    QFETCH(QString, imageDir);
    QFETCH(QString, thumbnailsLandIn);
    QFETCH(QString, imagesLandIn);
    QFETCH(bool, passive);
    const QStringList thumbnails = writeLocalFiles("beach", 3, "_t");
    const QStringList largeImages = writeLocalFiles("beach", 3, "");
    FtpSettings settings = settingsFor(thumbnailDir, imageDir);
    settings.Passive = passive ? 1 : 0;

    Uploader uploader;
    QCOMPARE(uploader.UploadImages(settings, thumbnails, largeImages, m_observer), 6);

    for (const QString& path : thumbnails)
        QCOMPARE(remoteCopy(thumbnailsLandIn, path), localBytes(path));
    for (const QString& path : largeImages)
        QCOMPARE(remoteCopy(imagesLandIn, path), localBytes(path));
    const QStringList expected = {"status Connecting to FTP Server...",
                                  "status Ready",
                                  "status Uploading Images...",
                                  "range 3",
                                  "status Upload Complete",
                                  "reset at 3"};
    QCOMPARE(m_observer.events, expected);
}

void UploaderTest::missingDirectorySkipsOnlyItsFiles_data()
{
    QTest::addColumn<QString>("thumbnailDir");
    QTest::addColumn<QString>("imageDir");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("thumbnailsSent");
    QTest::addColumn<bool>("imagesSent");

    // clang-format off
    QTest::newRow("thumbnail directory")
        << "nothere" << "images" << thumbnailDirectoryMissing << false << true;
    QTest::newRow("large-image directory")
        << "thumbs" << "nothere" << largeImageDirectoryMissing << true << false;
    // clang-format on
}

void UploaderTest::missingDirectorySkipsOnlyItsFiles()
{
    QFETCH(QString, thumbnailDir);
    QFETCH(QString, imageDir);
    QFETCH(QString, message);
    QFETCH(bool, thumbnailsSent);
    QFETCH(bool, imagesSent);
    const QStringList thumbnails = writeLocalFiles("a", 2, "_t");
    const QStringList largeImages = writeLocalFiles("a", 2, "");

    Uploader uploader;
    QCOMPARE(uploader.UploadImages(settingsFor(thumbnailDir, imageDir), thumbnails, largeImages,
                                   m_observer),
             2);

    QCOMPARE(m_observer.messages, QStringList{message});
    for (const QString& path : thumbnails)
        QCOMPARE(!remoteCopy("thumbs", path).isEmpty(), thumbnailsSent);
    for (const QString& path : largeImages)
        QCOMPARE(!remoteCopy("images", path).isEmpty(), imagesSent);
    QCOMPARE(m_observer.events.at(m_observer.events.size() - 2),
             QStringLiteral("status Upload Complete"));
}

void UploaderTest::reportsEachFileThatCannotBeStored()
{
    const QStringList thumbnails = writeLocalFiles("t", 3, "_t");
    QStringList largeImages = writeLocalFiles("l", 2, "");
    largeImages.insert(1, m_local.filePath("never-written.jpg"));

    Uploader uploader;
    QCOMPARE(uploader.UploadImages(settingsFor("locked", "/images"), thumbnails, largeImages,
                                   m_observer),
             2);

    QStringList expected;
    for (const QString& path : thumbnails)
        expected << "Failed to upload file " + path;
    expected << "Failed to upload file " + largeImages[1];
    QCOMPARE(m_observer.messages, expected);
    QCOMPARE(remoteCopy("images", largeImages[0]), localBytes(largeImages[0]));
    QCOMPARE(remoteCopy("images", largeImages[2]), localBytes(largeImages[2]));
    QCOMPARE(m_observer.events.last(), QStringLiteral("reset at 3"));
}

void UploaderTest::failedConnectSendsNothing_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("serverRunning");

    // clang-format off
    QTest::newRow("wrong password") << "wrong" << true;
    QTest::newRow("connection refused") << m_account.password << false;
    // clang-format on
}

void UploaderTest::failedConnectSendsNothing()
{
    QFETCH(QString, password);
    QFETCH(bool, serverRunning);
    const QStringList thumbnails = writeLocalFiles("a", 11, "_t");
    const QStringList largeImages = writeLocalFiles("a", 2, "");
    FtpSettings settings = settingsFor("thumbs", "images");
    settings.Password = password;
    if (!serverRunning)
        m_server.reset();

    Uploader uploader;
    QCOMPARE(uploader.UploadImages(settings, thumbnails, largeImages, m_observer), 0);

    const QStringList expected = {"status Connecting to FTP Server...",
                                  "message " + connectFailed,
                                  "status Ready",
                                  "status Uploading Images...",
                                  "range 3",
                                  "status Upload Complete",
                                  "reset at 0"};
    QCOMPARE(m_observer.events, expected);
    if (m_server)
        QVERIFY(QDir(m_server->homePath("thumbs")).isEmpty());
}

void UploaderTest::progressCountsTenThumbnailsAsOneStep_data()
{
    QTest::addColumn<int>("thumbnailCount");
    QTest::addColumn<int>("largeImageCount");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("position");

    // clang-format off
    QTest::newRow("none") << 0 << 0 << 0 << 0;
    QTest::newRow("9 and 9") << 9 << 9 << 9 << 9;
    QTest::newRow("10 and 10: one step never comes") << 10 << 10 << 11 << 10;
    QTest::newRow("11 and 11") << 11 << 11 << 12 << 12;
    QTest::newRow("25 and 25") << 25 << 25 << 27 << 27;
    QTest::newRow("30 and 30") << 30 << 30 << 33 << 32;
    QTest::newRow("thumbnails only") << 21 << 0 << 2 << 2;
    // clang-format on
}

void UploaderTest::progressCountsTenThumbnailsAsOneStep()
{
    QFETCH(int, thumbnailCount);
    QFETCH(int, largeImageCount);
    QFETCH(int, maximum);
    QFETCH(int, position);
    const QStringList thumbnails = writeLocalFiles("p", thumbnailCount, "_t");
    const QStringList largeImages = writeLocalFiles("p", largeImageCount, "");

    Uploader uploader;
    uploader.UploadImages(settingsFor("thumbs", "images"), thumbnails, largeImages, m_observer);

    QVERIFY(m_observer.messages.isEmpty());
    QVERIFY(m_observer.events.contains("range " + QString::number(maximum)));
    QCOMPARE(m_observer.events.last(), "reset at " + QString::number(position));
    QCOMPARE(QDir(m_server->homePath("thumbs")).count() - 2, uint(thumbnailCount));
    QCOMPARE(QDir(m_server->homePath("images")).count() - 2, uint(largeImageCount));
}

void UploaderTest::keepsTheLastConnectionOpenUntilTheNextUpload()
{
    const QStringList largeImages = writeLocalFiles("k", 1, "");
    FtpSettings settings = settingsFor("thumbs", "images");
    // Only the low 16 bits of the port count.
    settings.Port += 65536;
    const auto quits = [this] { return m_server->commandLog().count("<- QUIT"); };
    {
        Uploader uploader;
        uploader.UploadImages(settings, {}, largeImages, m_observer);
        QVERIFY(m_observer.messages.isEmpty());
        QCOMPARE(quits(), 0);
        uploader.UploadImages(settings, {}, largeImages, m_observer);
        QVERIFY(m_observer.messages.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(quits(), 1, 5000);
    }
    QTRY_COMPARE_WITH_TIMEOUT(quits(), 2, 5000);
    QCOMPARE(remoteCopy("images", largeImages[0]), localBytes(largeImages[0]));
}

QTEST_GUILESS_MAIN(UploaderTest)
#include "tst_uploader.moc"
