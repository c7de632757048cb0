#include "FtpServer.h"
#include "ScriptedTrust.h"
#include "TestCertificates.h"
#include "UploadPeer.h"

#include "base/WorkObserver.h"
#include "settings/FtpSettings.h"
#include "upload/NetworkLibrary.h"
#include "upload/Uploader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtConcurrent>

namespace {

using Kind = UploadPeer::Kind;

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
    QStringLiteral("Failed to connect to FTP server.\nCheck FTP Settings under Options.\n\n");
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
    QByteArray remoteCopy(const QString& home, const QString& directory, const QString& localPath)
    {
        QFile file(home + "/" + directory + "/" + Uploader::remoteName(localPath));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QByteArray remoteCopy(const QString& directory, const QString& localPath)
    {
        return remoteCopy(m_peer->homePath(), directory, localPath);
    }

    QByteArray localBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    FtpSettings settingsFor(const QString& thumbnailDir, const QString& imageDir)
    {
        FtpSettings settings = m_peer->settings();
        settings.ThumbnailFtpDir = thumbnailDir;
        settings.ImageFtpDir = imageDir;
        return settings;
    }

    UploadResult upload(const FtpSettings& settings, const QStringList& thumbnails,
                        const QStringList& largeImages)
    {
        Uploader uploader(m_peer->options());
        return uploader.UploadImages(settings, thumbnails, largeImages, m_observer, m_trust);
    }

    NetworkLibrary m_network;
    QTemporaryDir m_local;
    std::unique_ptr<UploadPeer> m_peer;
    RecordingObserver m_observer;
    ScriptedTrust m_trust;

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
    void failedConnectSendsNothingAndSaysWhy_data();
    void failedConnectSendsNothingAndSaysWhy();
    void saysOnceThatTheUploadIsNotEncrypted();
    void asksBeforeTrustingAServer_data();
    void asksBeforeTrustingAServer();
    void endsWhenTheServerStopsAnswering_data();
    void endsWhenTheServerStopsAnswering();
    void progressCountsEveryFile_data();
    void progressCountsEveryFile();
    void stopGivesUpTheFileBeingSent_data();
    void stopGivesUpTheFileBeingSent();
    void keepsTheLastConnectionOpenUntilTheNextUpload();
};

void UploaderTest::initTestCase()
{
    QVERIFY(m_network.isReady());
}

void UploaderTest::init()
{
    m_observer = RecordingObserver();
    m_trust = ScriptedTrust();
    m_peer = std::make_unique<UploadPeer>();
}

void UploaderTest::cleanup()
{
    m_peer.reset();
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
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("thumbnailDir");
    QTest::addColumn<QString>("imageDir"); // "%top/" stands for the top as the client sees it
    QTest::addColumn<QString>("thumbnailsLandIn");
    QTest::addColumn<QString>("imagesLandIn");
    QTest::addColumn<bool>("passive");

    // The layouts the README promises hold for every protocol.
    for (const Kind kind : {Kind::Ftp, Kind::FtpTls, Kind::Sftp, Kind::SshKey}) {
        const auto row = [kind](const char* name) -> QTestData& {
            return QTest::addRow("%s: %s", UploadPeer::name(kind), name) << kind;
        };
        // clang-format off
        row("both from the login directory")
            << "thumbs" << "images" << "thumbs" << "images" << true;
        row("large images beside the thumbnails")
            << "www/thumbs" << "images" << "www/thumbs" << "www/images" << true;
        row("absolute large-image directory")
            << "www/thumbs" << "%top/images" << "www/thumbs" << "images" << true;
        // clang-format on
    }
    // clang-format off
    QTest::newRow("FTP: active mode")
        << Kind::Ftp << "thumbs" << "images" << "thumbs" << "images" << false;
    // clang-format on
}

void UploaderTest::sendsEachListIntoItsDirectory()
{
    QFETCH(Kind, kind);
    QFETCH(QString, thumbnailDir);
    QFETCH(QString, imageDir);
    QFETCH(QString, thumbnailsLandIn);
    QFETCH(QString, imagesLandIn);
    QFETCH(bool, passive);
    REQUIRE_UPLOAD_PEER(kind);
    QVERIFY(m_peer->start(kind, {"thumbs", "images", "www/thumbs", "www/images"}));
    const QStringList thumbnails = writeLocalFiles("beach", 3, "_t");
    const QStringList largeImages = writeLocalFiles("beach", 3, "");
    FtpSettings settings =
        settingsFor(thumbnailDir, imageDir.replace("%top/", m_peer->remotePath({}) + '/'));
    settings.Passive = passive ? 1 : 0;

    const UploadResult result = upload(settings, thumbnails, largeImages);
    QCOMPARE(result.sent, 6);
    QVERIFY(result.complete());

    for (const QString& path : thumbnails)
        QCOMPARE(remoteCopy(thumbnailsLandIn, path), localBytes(path));
    for (const QString& path : largeImages)
        QCOMPARE(remoteCopy(imagesLandIn, path), localBytes(path));
    const QStringList expected = {"status Connecting to FTP Server...", "status Ready",
                                  "status Uploading Images...", "range 6", "reset at 6"};
    QCOMPARE(m_observer.events, expected);
}

void UploaderTest::missingDirectorySkipsOnlyItsFiles_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("thumbnailDir");
    QTest::addColumn<QString>("imageDir");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("thumbnailsSent");
    QTest::addColumn<bool>("imagesSent");

    for (const Kind kind : {Kind::Ftp, Kind::Sftp}) {
        // clang-format off
        QTest::addRow("%s: thumbnail directory", UploadPeer::name(kind))
            << kind << "nothere" << "images" << thumbnailDirectoryMissing << false << true;
        QTest::addRow("%s: large-image directory", UploadPeer::name(kind))
            << kind << "thumbs" << "nothere" << largeImageDirectoryMissing << true << false;
        // clang-format on
    }
}

void UploaderTest::missingDirectorySkipsOnlyItsFiles()
{
    QFETCH(Kind, kind);
    QFETCH(QString, thumbnailDir);
    QFETCH(QString, imageDir);
    QFETCH(QString, message);
    QFETCH(bool, thumbnailsSent);
    QFETCH(bool, imagesSent);
    REQUIRE_UPLOAD_PEER(kind);
    QVERIFY(m_peer->start(kind, {"thumbs", "images"}));
    const QStringList thumbnails = writeLocalFiles("a", 2, "_t");
    const QStringList largeImages = writeLocalFiles("a", 2, "");

    const UploadResult result =
        upload(settingsFor(thumbnailDir, imageDir), thumbnails, largeImages);
    QCOMPARE(result.sent, 2);
    QCOMPARE(result.toSend, 4);
    QVERIFY(result.connected && !result.complete());

    QCOMPARE(m_observer.messages, QStringList{message});
    for (const QString& path : thumbnails)
        QCOMPARE(!remoteCopy("thumbs", path).isEmpty(), thumbnailsSent);
    for (const QString& path : largeImages)
        QCOMPARE(!remoteCopy("images", path).isEmpty(), imagesSent);
}

void UploaderTest::reportsEachFileThatCannotBeStored()
{
    REQUIRE_FTP_SERVER();
    FtpServer server;
    FtpServer::Account account;
    account.readOnly = {"locked"};
    QVERIFY(server.start(account, {"locked", "images"}));
    FtpSettings settings = server.settings();
    settings.ThumbnailFtpDir = "locked";
    settings.ImageFtpDir = "/images";
    const QStringList thumbnails = writeLocalFiles("t", 3, "_t");
    QStringList largeImages = writeLocalFiles("l", 2, "");
    largeImages.insert(1, m_local.filePath("never-written.jpg"));

    Uploader uploader;
    QCOMPARE(uploader.UploadImages(settings, thumbnails, largeImages, m_observer, m_trust).sent, 2);

    QStringList expected;
    for (const QString& path : thumbnails)
        expected << "Failed to upload file " + path;
    expected << "Failed to upload file " + largeImages[1];
    QCOMPARE(m_observer.messages, expected);
    QCOMPARE(remoteCopy(server.homePath(), "images", largeImages[0]), localBytes(largeImages[0]));
    QCOMPARE(remoteCopy(server.homePath(), "images", largeImages[2]), localBytes(largeImages[2]));
    QCOMPARE(m_observer.events.last(), QStringLiteral("reset at 6"));
}

void UploaderTest::failedConnectSendsNothingAndSaysWhy_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("port"); // 0: the server's own
    QTest::addColumn<QString>("reason");

    // clang-format off
    QTest::newRow("wrong password") << Kind::Ftp << "wrong" << 0 << "Login incorrect.";
    QTest::newRow("SFTP, wrong password") << Kind::Sftp << "wrong" << 0 << "Login incorrect.";
    QTest::newRow("connection refused")
        << Kind::Ftp << "" << 1 << "The server refused the connection.";
    QTest::newRow("port beyond 65535")
        << Kind::Ftp << "" << 67837 << "The port must be between 0 and 65535.";
    // clang-format on
}

void UploaderTest::failedConnectSendsNothingAndSaysWhy()
{
    QFETCH(Kind, kind);
    QFETCH(QString, password);
    QFETCH(int, port);
    QFETCH(QString, reason);
    REQUIRE_UPLOAD_PEER(kind);
    QVERIFY(m_peer->start(kind, {"thumbs", "images"}));
    const QStringList thumbnails = writeLocalFiles("a", 11, "_t");
    const QStringList largeImages = writeLocalFiles("a", 2, "");
    FtpSettings settings = settingsFor("thumbs", "images");
    const QString rightPassword = settings.Password;
    if (!password.isEmpty())
        settings.Password = password;
    if (port != 0)
        settings.Port = port;

    const UploadResult result = upload(settings, thumbnails, largeImages);
    QVERIFY(!result.connected);
    QCOMPARE(result.sent, 0);

    const QStringList expected = {"status Connecting to FTP Server...",
                                  "message " + connectFailed + reason,
                                  "status Ready",
                                  "status Uploading Images...",
                                  "range 13",
                                  "reset at 0"};
    QCOMPARE(m_observer.events, expected);
    QVERIFY(QDir(m_peer->homePath("thumbs")).isEmpty());
    QVERIFY(!m_observer.events.join('\n').contains(rightPassword));
    QCOMPARE(m_peer->sawLogin(), port == 0);
}

void UploaderTest::saysOnceThatTheUploadIsNotEncrypted()
{
    REQUIRE_UPLOAD_PEER(Kind::Ftp);
    QVERIFY(m_peer->start(Kind::Ftp, {"thumbs", "images"}));
    FtpSettings settings = settingsFor("thumbs", "images");
    settings.Security = 1;
    const QStringList largeImages = writeLocalFiles("p", 2, "");

    const UploadResult result = upload(settings, writeLocalFiles("p", 2, "_t"), largeImages);
    QCOMPARE(result.sent, 4);
    QVERIFY(result.tlsDeclined);
    QVERIFY(m_observer.messages.isEmpty());
}

void UploaderTest::asksBeforeTrustingAServer_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("trust");

    QTest::newRow("SFTP, trusted") << Kind::Sftp << true;
    QTest::newRow("SFTP, not trusted") << Kind::Sftp << false;
    QTest::newRow("FTP over TLS, trusted") << Kind::FtpTls << true;
    QTest::newRow("FTP over TLS, not trusted") << Kind::FtpTls << false;
}

void UploaderTest::asksBeforeTrustingAServer()
{
    QFETCH(Kind, kind);
    QFETCH(bool, trust);
    REQUIRE_UPLOAD_PEER(kind);
    QVERIFY(m_peer->start(kind, {"thumbs", "images"}, UploadPeer::Certificate::SelfSigned));
    FtpSettings settings = settingsFor("thumbs", "images");
    settings.TrustedFingerprint.clear();
    m_trust.answer = trust;
    const QStringList largeImages = writeLocalFiles("k", 2, "");

    QCOMPARE(upload(settings, {}, largeImages).sent, trust ? 2 : 0);

    QCOMPARE(m_trust.shown.size(), 1);
    QCOMPARE(m_trust.shown[0].fingerprint(), m_peer->keyFingerprint());
    if (trust)
        QVERIFY(m_observer.messages.isEmpty());
    else
        QCOMPARE(m_observer.messages,
                 QStringList{connectFailed + m_trust.shown[0].untrustedReason()});
}

void UploaderTest::endsWhenTheServerStopsAnswering_data()
{
    QTest::addColumn<QStringList>("stallOn");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QStringList>("messages"); // %1 stands for the local folder
    QTest::addColumn<int>("stores");           // STOR commands the server saw

    const QString timedOut = "Failed to upload file %1/%2\n\nConnection timed out.";
    // clang-format off
    QTest::newRow("every file")
        << QStringList{"*"} << 0
        << QStringList{"The server stopped answering; 6 files were not uploaded."} << 2;
    QTest::newRow("from the second large image on")
        << QStringList{"s02.jpg", "s03.jpg"} << 4
        << QStringList{"The server stopped answering; 2 files were not uploaded."} << 6;
    QTest::newRow("the last thumbnail, then the first large image")
        << QStringList{"s03_t.jpg", "s01.jpg"} << 2
        << QStringList{"The server stopped answering; 4 files were not uploaded."} << 4;
    QTest::newRow("one thumbnail")
        << QStringList{"s01_t.jpg"} << 5 << QStringList{timedOut.arg("%1", "s01_t.jpg")} << 6;
    QTest::newRow("the last file")
        << QStringList{"s03.jpg"} << 5 << QStringList{timedOut.arg("%1", "s03.jpg")} << 6;
    // clang-format on
}

void UploaderTest::endsWhenTheServerStopsAnswering()
{
    QFETCH(QStringList, stallOn);
    QFETCH(int, stored);
    QFETCH(QStringList, messages);
    QFETCH(int, stores);
    REQUIRE_FTP_SERVER();
    FtpServer server;
    FtpServer::Behaviour stalling;
    stalling.stallOn = stallOn;
    QVERIFY(server.start(FtpServer::Account(), {"thumbs", "images"}, stalling));
    FtpSettings settings = server.settings();
    settings.ThumbnailFtpDir = "thumbs";
    settings.ImageFtpDir = "/images";
    // Short waits keep the test short; the program waits 5 seconds for each.
    FtpOptions quick;
    quick.timeouts.receive = quick.timeouts.send = std::chrono::seconds(1);

    Uploader uploader(quick);
    const UploadResult result = uploader.UploadImages(
        settings, writeLocalFiles("s", 3, "_t"), writeLocalFiles("s", 3, ""), m_observer, m_trust);
    QCOMPARE(result.sent, stored);
    QVERIFY(!result.complete());

    for (QString& message : messages)
        message.replace("%1", m_local.path());
    QCOMPARE(m_observer.messages, messages);
    QCOMPARE(server.commandLog().count("<- STOR"), stores);
}

void UploaderTest::progressCountsEveryFile_data()
{
    QTest::addColumn<int>("thumbnailCount");
    QTest::addColumn<int>("largeImageCount");

    QTest::newRow("none") << 0 << 0;
    QTest::newRow("11 and 11") << 11 << 11;
    QTest::newRow("thumbnails only") << 21 << 0;
}

void UploaderTest::progressCountsEveryFile()
{
    QFETCH(int, thumbnailCount);
    QFETCH(int, largeImageCount);
    REQUIRE_UPLOAD_PEER(Kind::Ftp);
    QVERIFY(m_peer->start(Kind::Ftp, {"thumbs", "images"}));
    const QStringList thumbnails = writeLocalFiles("p", thumbnailCount, "_t");
    const QStringList largeImages = writeLocalFiles("p", largeImageCount, "");

    upload(settingsFor("thumbs", "images"), thumbnails, largeImages);

    const int files = thumbnailCount + largeImageCount;
    QVERIFY(m_observer.messages.isEmpty());
    QVERIFY(m_observer.events.contains("range " + QString::number(files)));
    QCOMPARE(m_observer.events.last(), "reset at " + QString::number(files));
    QCOMPARE(QDir(m_peer->homePath("thumbs")).count() - 2, uint(thumbnailCount));
    QCOMPARE(QDir(m_peer->homePath("images")).count() - 2, uint(largeImageCount));
}

// A stop while a file is going out gives it up at once, whatever the server's pace, and
// takes away what reached the server of it: visitors never meet half a picture.
void UploaderTest::stopGivesUpTheFileBeingSent_data()
{
    QTest::addColumn<bool>("tls");

    QTest::newRow("FTP") << false;
    QTest::newRow("FTP over TLS") << true;
}

void UploaderTest::stopGivesUpTheFileBeingSent()
{
    QFETCH(bool, tls);
    REQUIRE_FTP_SERVER();
    if (tls && !FtpServer::tlsUnavailableReason().isEmpty())
        QSKIP("no TLS server here");
    TestCertificates certificates;
    FtpServer server;
    FtpServer::Behaviour slow;
    slow.readLimit = 16 * 1024;
    if (tls) {
        QVERIFY(certificates.make());
        slow.tlsCertificate = certificates.server();
    }
    QVERIFY(server.start(FtpServer::Account(), {"thumbs", "images"}, slow));
    FtpSettings settings = server.settings();
    settings.ThumbnailFtpDir = "thumbs";
    settings.ImageFtpDir = "/images";
    settings.Security = tls ? 2 : 0;
    QStringList largeImages = writeLocalFiles("big", 2, "");
    for (const QString& path : largeImages) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write(QByteArray(1024 * 1024, 'x'));
    }
    // Waits far longer than the test: only the stop can end the transfer in time.
    std::atomic<bool> stop = false;
    FtpOptions options;
    options.caFile = tls ? certificates.authority() : QString();
    options.timeouts.receive = options.timeouts.send = std::chrono::minutes(1);
    options.stop = &stop;
    Uploader uploader(options);
    RecordingObserver observer;
    QFuture<UploadResult> running = QtConcurrent::run(
        [&] { return uploader.UploadImages(settings, {}, largeImages, observer, m_trust); });
    const QString partial = server.homePath("images/big01.jpg");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(partial).size() > 0, 10000);
    stop = true;
    QTRY_VERIFY_WITH_TIMEOUT(running.isFinished(), 5000);

    const UploadResult result = running.result();
    QVERIFY(result.stopped);
    QCOMPARE(result.sent, 0);
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(partial), 5000);
    QVERIFY(!QFile::exists(server.homePath("images/big02.jpg")));
    QVERIFY(observer.messages.isEmpty());
}

void UploaderTest::keepsTheLastConnectionOpenUntilTheNextUpload()
{
    REQUIRE_UPLOAD_PEER(Kind::Ftp);
    QVERIFY(m_peer->start(Kind::Ftp, {"thumbs", "images"}));
    const QStringList largeImages = writeLocalFiles("k", 1, "");
    const FtpSettings settings = settingsFor("thumbs", "images");
    const auto quits = [this] { return m_peer->serverLog().count("<- QUIT"); };
    {
        Uploader uploader;
        uploader.UploadImages(settings, {}, largeImages, m_observer, m_trust);
        QVERIFY(m_observer.messages.isEmpty());
        QCOMPARE(quits(), 0);
        uploader.UploadImages(settings, {}, largeImages, m_observer, m_trust);
        QVERIFY(m_observer.messages.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(quits(), 1, 5000);
    }
    QTRY_COMPARE_WITH_TIMEOUT(quits(), 2, 5000);
    QCOMPARE(remoteCopy("images", largeImages[0]), localBytes(largeImages[0]));
}

QTEST_GUILESS_MAIN(UploaderTest)
#include "tst_uploader.moc"
