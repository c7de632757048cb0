#include "FtpServer.h"
#include "ScriptedTrust.h"
#include "TestCertificates.h"
#include "UploadPeer.h"

#include "base/WorkObserver.h"
#include "settings/FtpSettings.h"
#include "upload/FileTransfer.h"
#include "upload/NetworkLibrary.h"
#include "upload/Uploader.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QTest>
#include <QtConcurrent>

namespace {

using Kind = UploadPeer::Kind;

// Writes down every report of the upload, in order; progress apart, as how often it comes
// depends on the pace of the transfers.
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
    void transferProgress(const TransferProgress& progress) override { transfers << progress; }

    QStringList events;
    QStringList messages;
    QList<TransferProgress> transfers;
    int position = 0;
};

const QString connectFailed =
    QStringLiteral("Failed to connect to FTP server.\nCheck FTP Settings under Options.\n\n");
const QString thumbnailDirectoryMissing = QStringLiteral(
    "Failed to find thumbnail directory on FTP server.\nCheck FTP Settings under Options.\n\n"
    "The folder %1 does not exist and could not be made.");
const QString largeImageDirectoryMissing = QStringLiteral(
    "Failed to find large image directory on FTP server.\nCheck FTP Settings under Options.\n\n"
    "The folder %1 does not exist and could not be made.");

// The folders of an upload as Generate / Upload makes them.
UploadRequest requestFor(const FtpSettings& settings, const QStringList& thumbnails,
                         const QStringList& largeImages)
{
    UploadRequest request;
    request.folders = {{settings.ThumbnailFtpDir, thumbnails, "thumbnail directory"},
                       {settings.ImageFtpDir, largeImages, "large image directory"}};
    return request;
}

// The files under a folder, by their path below it: temporary ones included.
QStringList filesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

} // namespace

class UploaderTest : public QObject
{
    Q_OBJECT

private:
    // Local files named prefix01<suffix>.jpg, prefix02<suffix>.jpg, ... each holding its own
    // name, and extra bytes when asked.
    QStringList writeLocalFiles(const QString& prefix, int count, const QString& suffix,
                                int extraBytes = 0)
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
            file.write("\xff\xd8\r\n" + path.toUtf8() + QByteArray(extraBytes, 'x'));
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

    static QByteArray localBytes(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
    }

    static bool writeBytes(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }

    FtpSettings settingsFor(const QString& thumbnailDir, const QString& imageDir)
    {
        FtpSettings settings = m_peer->settings();
        settings.ThumbnailFtpDir = thumbnailDir;
        settings.ImageFtpDir = imageDir;
        return settings;
    }

    // The options every upload of a test shares: its own record, never the tester's.
    FtpOptions withRecord(FtpOptions options) const
    {
        options.recordFolder = m_records->path();
        return options;
    }

    UploadResult upload(const FtpSettings& settings, const QStringList& thumbnails,
                        const QStringList& largeImages)
    {
        return upload(settings, requestFor(settings, thumbnails, largeImages));
    }
    UploadResult upload(const FtpSettings& settings, const UploadRequest& request)
    {
        Uploader uploader(withRecord(m_peer->options()));
        return uploader.UploadImages(settings, request, m_observer, m_trust);
    }

    NetworkLibrary m_network;
    QTemporaryDir m_dataHome;
    QTemporaryDir m_local;
    std::unique_ptr<QTemporaryDir> m_records;
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
    void makesMissingFoldersOnTheWay_data();
    void makesMissingFoldersOnTheWay();
    void folderThatCannotBeMadeSkipsOnlyItsFiles_data();
    void folderThatCannotBeMadeSkipsOnlyItsFiles();
    void reportsEachFileThatCannotBeStored();
    void failedConnectSendsNothingAndSaysWhy_data();
    void failedConnectSendsNothingAndSaysWhy();
    void saysOnceThatTheUploadIsNotEncrypted();
    void asksBeforeTrustingAServer_data();
    void asksBeforeTrustingAServer();
    void sendsOnlyWhatTheServerDoesNotHave_data();
    void sendsOnlyWhatTheServerDoesNotHave();
    void reportsInListOrderWhateverFinishesFirst_data();
    void reportsInListOrderWhateverFinishesFirst();
    void shortTransferDoesNotTakeItsName_data();
    void shortTransferDoesNotTakeItsName();
    void brokenConnectionIsTriedOnceMore_data();
    void brokenConnectionIsTriedOnceMore();
    void endsWhenTheServerStopsAnswering_data();
    void endsWhenTheServerStopsAnswering();
    void progressCountsEveryFileAndByte_data();
    void progressCountsEveryFileAndByte();
    void stopGivesUpTheFilesBeingSent_data();
    void stopGivesUpTheFilesBeingSent();
    void removesOnlyItsOwnStaleFilesWhenAllWent_data();
    void removesOnlyItsOwnStaleFilesWhenAllWent();
    void removesAtMost50StaleFilesUnlessTold_data();
    void removesAtMost50StaleFilesUnlessTold();
    void dryRunChangesNothingOnTheServer();
    void damagedRecordCountsAsEmpty_data();
    void damagedRecordCountsAsEmpty();
    void keepsTheLastConnectionOpenUntilTheNextUpload();
};

void UploaderTest::initTestCase()
{
    QVERIFY(m_network.isReady());
    // An uploader made without a record folder would keep its record in the user's data
    // folder: here it is a temporary one.
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dataHome.path()));
}

void UploaderTest::init()
{
    m_observer = RecordingObserver();
    m_trust = ScriptedTrust();
    m_records = std::make_unique<QTemporaryDir>();
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
    QVERIFY2(m_observer.messages.isEmpty(), qPrintable(m_observer.messages.join('|')));
    QCOMPARE(result.sent, 6);
    QVERIFY(result.complete());

    for (const QString& path : thumbnails)
        QCOMPARE(remoteCopy(thumbnailsLandIn, path), localBytes(path));
    for (const QString& path : largeImages)
        QCOMPARE(remoteCopy(imagesLandIn, path), localBytes(path));
    // Only the files themselves: every temporary name is gone.
    QCOMPARE(QDir(m_peer->homePath(thumbnailsLandIn)).entryList(QDir::Files | QDir::Hidden).size(),
             3);
    const QStringList expected = {"status Connecting to FTP Server...",
                                  "status Ready",
                                  "status Uploading Images...",
                                  "range 6",
                                  "reset at 6"};
    QCOMPARE(m_observer.events, expected);
}

void UploaderTest::makesMissingFoldersOnTheWay_data()
{
    QTest::addColumn<Kind>("kind");
    for (const Kind kind : {Kind::Ftp, Kind::FtpTls, Kind::Sftp, Kind::SshKey})
        QTest::addRow("%s", UploadPeer::name(kind)) << kind;
}

// Folders are made as the upload reaches them, parents first: the large images' folder
// beside a thumbnail folder that did not exist either.
void UploaderTest::makesMissingFoldersOnTheWay()
{
    QFETCH(Kind, kind);
    REQUIRE_UPLOAD_PEER(kind);
    QVERIFY(m_peer->start(kind, {"www"}));
    const QStringList thumbnails = writeLocalFiles("m", 2, "_t");
    const QStringList largeImages = writeLocalFiles("m", 2, "");

    const UploadResult result =
        upload(settingsFor("www/new/thumbs", "images"), thumbnails, largeImages);
    QVERIFY(result.complete());
    QVERIFY(m_observer.messages.isEmpty());
    for (const QString& path : thumbnails)
        QCOMPARE(remoteCopy("www/new/thumbs", path), localBytes(path));
    for (const QString& path : largeImages)
        QCOMPARE(remoteCopy("www/new/images", path), localBytes(path));
}

void UploaderTest::folderThatCannotBeMadeSkipsOnlyItsFiles_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("thumbnailDir");
    QTest::addColumn<QString>("imageDir");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("thumbnailsSent");
    QTest::addColumn<bool>("imagesSent");

    // A file named as the folder stands in its way.
    for (const Kind kind : {Kind::Ftp, Kind::Sftp}) {
        // clang-format off
        QTest::addRow("%s: thumbnail directory", UploadPeer::name(kind))
            << kind << "blocked/thumbs" << "images"
            << thumbnailDirectoryMissing.arg("/blocked/thumbs") << false << true;
        QTest::addRow("%s: large-image directory", UploadPeer::name(kind))
            << kind << "thumbs" << "blocked" << largeImageDirectoryMissing.arg("/blocked")
            << true << false;
        // clang-format on
    }
}

void UploaderTest::folderThatCannotBeMadeSkipsOnlyItsFiles()
{
    QFETCH(Kind, kind);
    QFETCH(QString, thumbnailDir);
    QFETCH(QString, imageDir);
    QFETCH(QString, message);
    QFETCH(bool, thumbnailsSent);
    QFETCH(bool, imagesSent);
    REQUIRE_UPLOAD_PEER(kind);
    QVERIFY(m_peer->start(kind, {"thumbs", "images"}));
    QVERIFY(writeBytes(m_peer->homePath("blocked"), "a file"));
    const QStringList thumbnails = writeLocalFiles("a", 2, "_t");
    const QStringList largeImages = writeLocalFiles("a", 2, "");

    const UploadResult result = upload(settingsFor(thumbnailDir, imageDir), thumbnails, largeImages);
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

    Uploader uploader(withRecord({}));
    QCOMPARE(uploader
                 .UploadImages(settings, requestFor(settings, thumbnails, largeImages), m_observer,
                               m_trust)
                 .sent,
             2);

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

// Once, however many connections the files go out over.
void UploaderTest::asksBeforeTrustingAServer()
{
    QFETCH(Kind, kind);
    QFETCH(bool, trust);
    REQUIRE_UPLOAD_PEER(kind);
    QVERIFY(m_peer->start(kind, {"thumbs", "images"}, UploadPeer::Certificate::SelfSigned));
    FtpSettings settings = settingsFor("thumbs", "images");
    settings.TrustedFingerprint.clear();
    settings.Connections = 4;
    m_trust.answer = trust;
    const QStringList largeImages = writeLocalFiles("k", 4, "");

    QCOMPARE(upload(settings, {}, largeImages).sent, trust ? 4 : 0);

    QCOMPARE(m_trust.shown.size(), 1);
    QCOMPARE(m_trust.shown[0].fingerprint(), m_peer->keyFingerprint());
    if (trust)
        QVERIFY(m_observer.messages.isEmpty());
    else
        QCOMPARE(m_observer.messages,
                 QStringList{connectFailed + m_trust.shown[0].untrustedReason()});
}

void UploaderTest::sendsOnlyWhatTheServerDoesNotHave_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("change");
    QTest::addColumn<int>("sent"); // of the four files, the second time
    QTest::addColumn<QString>("sentFile");

    for (const Kind kind : {Kind::Ftp, Kind::FtpTls, Kind::Sftp, Kind::SshKey})
        QTest::addRow("%s: nothing changed", UploadPeer::name(kind)) << kind << "" << 0 << "";
    for (const Kind kind : {Kind::Ftp, Kind::Sftp}) {
        const auto row = [kind](const char* name) -> QTestData& {
            return QTest::addRow("%s: %s", UploadPeer::name(kind), name) << kind;
        };
        // clang-format off
        row("content changed, same size") << "content" << 1 << "images/s02.jpg";
        row("deleted on the server") << "deleted" << 1 << "thumbs/s01_t.jpg";
        row("another size on the server") << "size" << 1 << "images/s01.jpg";
        row("the same content, a new record") << "record" << 4 << "";
        row("send unchanged files too") << "sendAll" << 4 << "";
        // clang-format on
    }
}

// Outputs are written anew on every run: what counts is their content, the record of what
// was sent, and what the server holds.
void UploaderTest::sendsOnlyWhatTheServerDoesNotHave()
{
    QFETCH(Kind, kind);
    QFETCH(QString, change);
    QFETCH(int, sent);
    QFETCH(QString, sentFile);
    REQUIRE_UPLOAD_PEER(kind);
    QVERIFY(m_peer->start(kind, {"thumbs", "images"}));
    const QStringList thumbnails = writeLocalFiles("s", 2, "_t");
    const QStringList largeImages = writeLocalFiles("s", 2, "");
    FtpSettings settings = settingsFor("thumbs", "images");
    QVERIFY(upload(settings, thumbnails, largeImages).complete());

    if (change == "content") {
        QByteArray bytes = localBytes(largeImages[1]);
        bytes[0] = 'X';
        QVERIFY(writeBytes(largeImages[1], bytes));
    } else if (change == "deleted") {
        QVERIFY(QFile::remove(m_peer->homePath("thumbs/s01_t.jpg")));
    } else if (change == "size") {
        QVERIFY(writeBytes(m_peer->homePath("images/s01.jpg"), "shorter"));
    } else if (change == "record") {
        m_records = std::make_unique<QTemporaryDir>();
    } else if (change == "sendAll") {
        settings.SendAll = 1;
    }
    m_observer = RecordingObserver();
    const UploadResult result = upload(settings, thumbnails, largeImages);

    QVERIFY(result.complete());
    QCOMPARE(result.sent, sent);
    QCOMPARE(result.unchanged, 4 - sent);
    QVERIFY(m_observer.messages.isEmpty());
    QVERIFY(m_observer.events.contains("range " + QString::number(sent)));
    for (const QString& path : thumbnails)
        QCOMPARE(remoteCopy("thumbs", path), localBytes(path));
    for (const QString& path : largeImages)
        QCOMPARE(remoteCopy("images", path), localBytes(path));
    if (kind == Kind::Ftp) {
        const QString log = m_peer->serverLog();
        QCOMPARE(log.count("<- STOR"), 4 + sent);
        if (!sentFile.isEmpty())
            QVERIFY(log.contains("<- STOR /" + QFileInfo(sentFile).path() + "/" +
                                 FileTransfer::temporaryName(QFileInfo(sentFile).fileName())));
    }
}

void UploaderTest::reportsInListOrderWhateverFinishesFirst_data()
{
    QTest::addColumn<int>("connections");
    for (const int connections : {1, 2, 4, 8})
        QTest::addRow("%d at a time", connections) << connections;
}

// The outcome is the same for one connection and for many: the same files on the server, the
// same messages in the same order.
void UploaderTest::reportsInListOrderWhateverFinishesFirst()
{
    QFETCH(int, connections);
    REQUIRE_FTP_SERVER();
    FtpServer server;
    FtpServer::Behaviour behaviour;
    behaviour.shortOn = {"*o04_t.jpg*"};
    QVERIFY(server.start(FtpServer::Account(), {"thumbs", "images"}, behaviour));
    FtpSettings settings = server.settings();
    settings.ThumbnailFtpDir = "thumbs";
    settings.ImageFtpDir = "images";
    settings.Connections = connections;
    QStringList thumbnails = writeLocalFiles("o", 6, "_t", 20000);
    thumbnails[1] = m_local.filePath("never-written_t.jpg");
    QStringList largeImages = writeLocalFiles("o", 3, "", 50000);
    largeImages[1] = m_local.filePath("never-written.jpg");

    Uploader uploader(withRecord({}));
    const UploadResult result = uploader.UploadImages(
        settings, requestFor(settings, thumbnails, largeImages), m_observer, m_trust);

    const qint64 size = localBytes(thumbnails[3]).size();
    QCOMPARE(m_observer.messages,
             QStringList({"Failed to upload file " + thumbnails[1],
                          "Failed to upload file " + thumbnails[3] +
                              QStringLiteral("\n\nThe server stored %1 of its %2 bytes.")
                                  .arg(size / 2)
                                  .arg(size),
                          "Failed to upload file " + largeImages[1]}));
    QCOMPARE(result.sent, 6);
    QCOMPARE(filesBelow(server.homePath()),
             QStringList({"images/o01.jpg", "images/o03.jpg", "thumbs/o01_t.jpg",
                          "thumbs/o03_t.jpg", "thumbs/o05_t.jpg", "thumbs/o06_t.jpg"}));
    // Every connection logged in, each on its own.
    QCOMPARE(server.commandLog().count("<- USER"), connections);
}

void UploaderTest::shortTransferDoesNotTakeItsName_data()
{
    QTest::addColumn<bool>("mlsd");
    QTest::newRow("MLSD") << true;
    QTest::newRow("LIST only") << false;
}

// A server that ends a transfer early and reports it complete is caught by the size it
// then reports: the short file never takes the picture's name, and the picture there from
// before stays.
void UploaderTest::shortTransferDoesNotTakeItsName()
{
    QFETCH(bool, mlsd);
    REQUIRE_FTP_SERVER();
    FtpServer server;
    FtpServer::Behaviour behaviour;
    behaviour.shortOn = {"*c02.jpg*"};
    behaviour.noMlsd = !mlsd;
    QVERIFY(server.start(FtpServer::Account(), {"thumbs", "images"}, behaviour));
    QVERIFY(writeBytes(server.homePath("images/c02.jpg"), "the picture from before"));
    FtpSettings settings = server.settings();
    settings.ThumbnailFtpDir = "thumbs";
    settings.ImageFtpDir = "images";
    const QStringList largeImages = writeLocalFiles("c", 3, "", 1000);

    Uploader uploader(withRecord({}));
    const UploadResult result =
        uploader.UploadImages(settings, requestFor(settings, {}, largeImages), m_observer, m_trust);

    QCOMPARE(result.sent, 2);
    QVERIFY(!result.complete());
    QCOMPARE(m_observer.messages.size(), 1);
    QVERIFY(m_observer.messages[0].startsWith("Failed to upload file " + largeImages[1] +
                                              "\n\nThe server stored "));
    QCOMPARE(localBytes(server.homePath("images/c02.jpg")), QByteArray("the picture from before"));
    QCOMPARE(filesBelow(server.homePath("images")), QStringList({"c01.jpg", "c02.jpg", "c03.jpg"}));

    // The next upload tries it again.
    m_observer = RecordingObserver();
    QCOMPARE(
        uploader.UploadImages(settings, requestFor(settings, {}, largeImages), m_observer, m_trust)
            .sent,
        0);
    QCOMPARE(m_observer.messages.size(), 1);
}

void UploaderTest::brokenConnectionIsTriedOnceMore_data()
{
    QTest::addColumn<int>("drops");
    QTest::addColumn<bool>("stored");
    QTest::newRow("breaks off once") << 1 << true;
    QTest::newRow("breaks off twice") << 2 << false;
}

// A connection that breaks off in the middle of a file is not the file's fault: it goes
// once more over a fresh connection. Either way no half file and no temporary file stays.
void UploaderTest::brokenConnectionIsTriedOnceMore()
{
    QFETCH(int, drops);
    QFETCH(bool, stored);
    REQUIRE_FTP_SERVER();
    FtpServer server;
    FtpServer::Behaviour behaviour;
    behaviour.dropOn = {"*d02.jpg*"};
    behaviour.dropTimes = drops;
    QVERIFY(server.start(FtpServer::Account(), {"thumbs", "images"}, behaviour));
    FtpSettings settings = server.settings();
    settings.ThumbnailFtpDir = "thumbs";
    settings.ImageFtpDir = "images";
    const QStringList largeImages = writeLocalFiles("d", 3, "", 256 * 1024);

    Uploader uploader(withRecord({}));
    const UploadResult result =
        uploader.UploadImages(settings, requestFor(settings, {}, largeImages), m_observer, m_trust);

    QCOMPARE(result.sent, stored ? 3 : 2);
    QCOMPARE(server.commandLog().count("connection dropped midway"), drops);
    if (stored)
        QVERIFY(m_observer.messages.isEmpty());
    else
        QCOMPARE(m_observer.messages, QStringList{"Failed to upload file " + largeImages[1] +
                                                  "\n\nThe connection to the server broke off."});
    QStringList expected = {"d01.jpg", "d03.jpg"};
    if (stored)
        expected.insert(1, "d02.jpg");
    QCOMPARE(filesBelow(server.homePath("images")), expected);
    for (const QString& name : expected)
        QCOMPARE(localBytes(server.homePath("images/" + name)), localBytes(m_local.filePath(name)));
}

void UploaderTest::endsWhenTheServerStopsAnswering_data()
{
    QTest::addColumn<QStringList>("stallOn");
    QTest::addColumn<int>("connections");
    QTest::addColumn<int>("stored");
    QTest::addColumn<QStringList>("messages"); // %1 stands for the local folder
    QTest::addColumn<int>("fewestStores");     // STOR commands the server saw
    QTest::addColumn<int>("mostStores");

    const QString timedOut = "Failed to upload file %1/%2\n\nConnection timed out.";
    // clang-format off
    QTest::newRow("every file")
        << QStringList{"*"} << 1 << 0
        << QStringList{"The server stopped answering; 6 files were not uploaded."} << 2 << 2;
    QTest::newRow("from the second large image on")
        << QStringList{"*s02.jpg*", "*s03.jpg*"} << 1 << 4
        << QStringList{"The server stopped answering; 2 files were not uploaded."} << 6 << 6;
    QTest::newRow("the last thumbnail, then the first large image")
        << QStringList{"*s03_t.jpg*", "*s01.jpg*"} << 1 << 2
        << QStringList{"The server stopped answering; 4 files were not uploaded."} << 4 << 4;
    QTest::newRow("one thumbnail")
        << QStringList{"*s01_t.jpg*"} << 1 << 5 << QStringList{timedOut.arg("%1", "s01_t.jpg")} << 6 << 6;
    QTest::newRow("the last file")
        << QStringList{"*s03.jpg*"} << 1 << 5 << QStringList{timedOut.arg("%1", "s03.jpg")} << 6 << 6;
    // Several at a time, the rule holds in list order: files that went out beside the two
    // time-outs are not taken back.
    QTest::newRow("every file, 4 at a time")
        << QStringList{"*"} << 4 << 0
        << QStringList{"The server stopped answering; 6 files were not uploaded."} << 4 << 6;
    QTest::newRow("from the second large image on, 4 at a time")
        << QStringList{"*s02.jpg*", "*s03.jpg*"} << 4 << 4
        << QStringList{"The server stopped answering; 2 files were not uploaded."} << 6 << 6;
    QTest::newRow("one thumbnail, 4 at a time")
        << QStringList{"*s01_t.jpg*"} << 4 << 5 << QStringList{timedOut.arg("%1", "s01_t.jpg")} << 6 << 6;
    // clang-format on
}

void UploaderTest::endsWhenTheServerStopsAnswering()
{
    QFETCH(QStringList, stallOn);
    QFETCH(int, connections);
    QFETCH(int, stored);
    QFETCH(QStringList, messages);
    QFETCH(int, fewestStores);
    QFETCH(int, mostStores);
    REQUIRE_FTP_SERVER();
    FtpServer server;
    FtpServer::Behaviour stalling;
    stalling.stallOn = stallOn;
    QVERIFY(server.start(FtpServer::Account(), {"thumbs", "images"}, stalling));
    FtpSettings settings = server.settings();
    settings.ThumbnailFtpDir = "thumbs";
    settings.ImageFtpDir = "/images";
    settings.Connections = connections;
    // Short waits keep the test short; the program waits 5 seconds for each.
    FtpOptions quick = withRecord({});
    quick.timeouts.receive = quick.timeouts.send = std::chrono::seconds(1);

    Uploader uploader(quick);
    const UploadResult result = uploader.UploadImages(
        settings, requestFor(settings, writeLocalFiles("s", 3, "_t"), writeLocalFiles("s", 3, "")),
        m_observer, m_trust);
    QCOMPARE(result.sent, stored);
    QVERIFY(!result.complete());

    for (QString& message : messages)
        message.replace("%1", m_local.path());
    QCOMPARE(m_observer.messages, messages);
    const int stores = int(server.commandLog().count("<- STOR"));
    QVERIFY2(stores >= fewestStores && stores <= mostStores, qPrintable(QString::number(stores)));
}

void UploaderTest::progressCountsEveryFileAndByte_data()
{
    QTest::addColumn<int>("thumbnailCount");
    QTest::addColumn<int>("largeImageCount");

    QTest::newRow("none") << 0 << 0;
    QTest::newRow("11 and 11") << 11 << 11;
    QTest::newRow("thumbnails only") << 21 << 0;
}

void UploaderTest::progressCountsEveryFileAndByte()
{
    QFETCH(int, thumbnailCount);
    QFETCH(int, largeImageCount);
    REQUIRE_UPLOAD_PEER(Kind::Ftp);
    QVERIFY(m_peer->start(Kind::Ftp, {"thumbs", "images"}));
    const QStringList thumbnails = writeLocalFiles("p", thumbnailCount, "_t", 300);
    const QStringList largeImages = writeLocalFiles("p", largeImageCount, "", 3000);
    qint64 bytes = 0;
    for (const QString& path : thumbnails + largeImages)
        bytes += QFileInfo(path).size();

    upload(settingsFor("thumbs", "images"), thumbnails, largeImages);

    const int files = thumbnailCount + largeImageCount;
    QVERIFY(m_observer.messages.isEmpty());
    QVERIFY(m_observer.events.contains("range " + QString::number(files)));
    QCOMPARE(m_observer.events.last(), "reset at " + QString::number(files));
    QCOMPARE(QDir(m_peer->homePath("thumbs")).count() - 2, uint(thumbnailCount));
    QCOMPARE(QDir(m_peer->homePath("images")).count() - 2, uint(largeImageCount));
    if (files == 0) {
        QVERIFY(m_observer.transfers.isEmpty());
        return;
    }
    const TransferProgress last = m_observer.transfers.last();
    QCOMPARE(last.filesDone, files);
    QCOMPARE(last.files, files);
    QCOMPARE(last.bytesDone, bytes);
    QCOMPARE(last.bytes, bytes);
    for (qsizetype i = 1; i < m_observer.transfers.size(); ++i) {
        QVERIFY(m_observer.transfers[i].filesDone >= m_observer.transfers[i - 1].filesDone);
        QVERIFY(m_observer.transfers[i].bytesDone <= bytes);
    }
}

// A stop while files are going out gives them up at once, whatever the server's pace, and
// takes away what reached the server of them: visitors never meet half a picture, and no
// temporary file stays.
void UploaderTest::stopGivesUpTheFilesBeingSent_data()
{
    QTest::addColumn<bool>("tls");

    QTest::newRow("FTP") << false;
    QTest::newRow("FTP over TLS") << true;
}

void UploaderTest::stopGivesUpTheFilesBeingSent()
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
    QVERIFY(writeBytes(server.homePath("images/big01.jpg"), "the picture from before"));
    const QStringList largeImages = writeLocalFiles("big", 2, "", 1024 * 1024);
    // Waits far longer than the test: only the stop can end the transfer in time.
    std::atomic<bool> stop = false;
    FtpOptions options = withRecord({});
    options.caFile = tls ? certificates.authority() : QString();
    options.timeouts.receive = options.timeouts.send = std::chrono::minutes(1);
    options.stop = &stop;
    Uploader uploader(options);
    RecordingObserver observer;
    QFuture<UploadResult> running = QtConcurrent::run([&] {
        return uploader.UploadImages(settings, requestFor(settings, {}, largeImages), observer,
                                     m_trust);
    });
    const QString partial = server.homePath("images/" + FileTransfer::temporaryName("big01.jpg"));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(partial).size() > 0, 10000);
    stop = true;
    QTRY_VERIFY_WITH_TIMEOUT(running.isFinished(), 5000);

    const UploadResult result = running.result();
    QVERIFY(result.stopped);
    QCOMPARE(result.sent, 0);
    QTRY_COMPARE_WITH_TIMEOUT(filesBelow(server.homePath("images")), QStringList{"big01.jpg"},
                              5000);
    QCOMPARE(localBytes(server.homePath("images/big01.jpg")),
             QByteArray("the picture from before"));
    QVERIFY(observer.messages.isEmpty());
}

void UploaderTest::removesOnlyItsOwnStaleFilesWhenAllWent_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QStringList>("left"); // on the server afterwards

    const QStringList all = {"images/mine.jpg", "images/r01.jpg",   "images/r02.jpg",
                             "images/r03.jpg",  "thumbs/r01_t.jpg", "thumbs/r02_t.jpg",
                             "thumbs/r03_t.jpg"};
    const QStringList cleaned = {"images/mine.jpg", "images/r01.jpg", "thumbs/r01_t.jpg"};
    for (const Kind kind : {Kind::Ftp, Kind::Sftp}) {
        const auto row = [kind](const char* name) -> QTestData& {
            return QTest::addRow("%s: %s", UploadPeer::name(kind), name) << kind << name;
        };
        row("not asked") << all;
        row("asked") << cleaned;
        // clang-format off
        row("a file of the run failed") << all;
        row("a picture was not made") << all;
        row("replaced on the server since")
            << QStringList{"images/mine.jpg", "images/r01.jpg", "thumbs/r01_t.jpg", "thumbs/r02_t.jpg"};
        // clang-format on
    }
}

// Files an earlier upload put there and this set no longer makes go only when asked, only
// when everything else went, and never a file Morvane did not upload or that changed since.
void UploaderTest::removesOnlyItsOwnStaleFilesWhenAllWent()
{
    QFETCH(Kind, kind);
    QFETCH(QString, situation);
    REQUIRE_UPLOAD_PEER(kind);
    QVERIFY(m_peer->start(kind, {"thumbs", "images"}));
    QVERIFY(writeBytes(m_peer->homePath("images/mine.jpg"), "the user's own"));
    FtpSettings settings = settingsFor("thumbs", "images");
    const QStringList thumbnails = writeLocalFiles("r", 3, "_t");
    const QStringList largeImages = writeLocalFiles("r", 3, "");
    QVERIFY(upload(settings, thumbnails, largeImages).complete());

    settings.RemoveStale = situation == "not asked" ? 0 : 1;
    UploadRequest request = requestFor(settings, thumbnails.mid(0, 1), largeImages.mid(0, 1));
    if (situation == "a file of the run failed")
        request.folders[1].files << m_local.filePath("never-written.jpg");
    else if (situation == "a picture was not made")
        request.mayRemoveStale = false;
    else if (situation == "replaced on the server since")
        QVERIFY(writeBytes(m_peer->homePath("thumbs/r02_t.jpg"), "put there by hand"));
    m_observer = RecordingObserver();
    const UploadResult result = upload(settings, request);

    QTEST(filesBelow(m_peer->homePath()), "left");
    QCOMPARE(result.removed, situation == "asked" ? 4 : situation.startsWith("replaced") ? 3 : 0);
    if (situation != "a file of the run failed")
        QVERIFY(m_observer.messages.isEmpty());
}

void UploaderTest::removesAtMost50StaleFilesUnlessTold_data()
{
    QTest::addColumn<int>("stale");
    QTest::addColumn<bool>("every");
    QTest::addColumn<int>("removed");

    QTest::newRow("50") << 50 << false << 50;
    QTest::newRow("51") << 51 << false << 0;
    QTest::newRow("51, all of them") << 51 << true << 51;
}

void UploaderTest::removesAtMost50StaleFilesUnlessTold()
{
    QFETCH(int, stale);
    QFETCH(bool, every);
    QFETCH(int, removed);
    REQUIRE_UPLOAD_PEER(Kind::Ftp);
    QVERIFY(m_peer->start(Kind::Ftp, {"thumbs", "images"}));
    FtpSettings settings = settingsFor("thumbs", "images");
    settings.Connections = 8;
    const QStringList thumbnails = writeLocalFiles("x", stale + 1, "_t");
    QVERIFY(upload(settings, thumbnails, {}).complete());

    settings.RemoveStale = 1;
    UploadRequest request = requestFor(settings, thumbnails.mid(0, 1), {});
    request.removeEveryStaleFile = every;
    m_observer = RecordingObserver();
    const UploadResult result = upload(settings, request);

    QCOMPARE(result.removed, removed);
    QCOMPARE(QDir(m_peer->homePath("thumbs")).entryList(QDir::Files).size(), stale + 1 - removed);
    if (removed == 0)
        QCOMPARE(m_observer.messages,
                 QStringList{"51 files this set no longer makes were left on the server: more "
                             "than 50 at once looks like a mistake.\nTo remove them all, run "
                             "morvane-batch --upload --remove-stale=all."});
    else
        QVERIFY(m_observer.messages.isEmpty());
}

// A dry run compares as an upload does and says what it would do, in order, but makes no
// folder, sends no file and removes none.
void UploaderTest::dryRunChangesNothingOnTheServer()
{
    REQUIRE_UPLOAD_PEER(Kind::Ftp);
    QVERIFY(m_peer->start(Kind::Ftp, {"thumbs", "images"}));
    FtpSettings settings = settingsFor("thumbs", "images");
    const QStringList thumbnails = writeLocalFiles("y", 3, "_t");
    const QStringList largeImages = writeLocalFiles("y", 1, "");
    QVERIFY(upload(settings, thumbnails, largeImages).complete());
    const QString logBefore = m_peer->serverLog();
    const QStringList filesBefore = filesBelow(m_peer->homePath());

    QVERIFY(writeBytes(thumbnails[0], "changed"));
    settings.ImageFtpDir = "more/images";
    settings.RemoveStale = 1;
    UploadRequest request = requestFor(settings, thumbnails.mid(0, 2), largeImages);
    request.dryRun = true;
    m_observer = RecordingObserver();
    const UploadResult result = upload(settings, request);

    QVERIFY(result.complete());
    QCOMPARE(result.sent, 0);
    QCOMPARE(result.planned(), 2);
    QCOMPARE(result.unchanged, 1);
    QStringList plan;
    for (const UploadStep& step : result.plan)
        plan << QString::number(int(step.kind)) + ' ' + step.remotePath;
    QCOMPARE(plan, QStringList({"1 /thumbs/y01_t.jpg", "2 /thumbs/y02_t.jpg", "0 /more/images",
                                "1 /more/images/y01.jpg", "3 /thumbs/y03_t.jpg"}));
    QCOMPARE(filesBelow(m_peer->homePath()), filesBefore);
    QVERIFY(!QFileInfo::exists(m_peer->homePath("more")));
    const QString logAfter = m_peer->serverLog().mid(logBefore.size());
    for (const char* command : {"<- STOR", "<- MKD", "<- DELE", "<- RNFR"})
        QVERIFY2(!logAfter.contains(command), command);
}

void UploaderTest::damagedRecordCountsAsEmpty_data()
{
    QTest::addColumn<QByteArray>("record");
    QTest::newRow("not JSON") << QByteArray("\x00\xff{{ not json");
    QTest::newRow("cut off") << QByteArray("{\"server\": \"127.0.0.1\", \"folders\": {");
    QTest::newRow("another server's") << QByteArray("{\"server\": \"elsewhere\", \"port\": 21, "
                                                    "\"user\": \"site\", \"folders\": {}}");
    QTest::newRow("empty") << QByteArray();
}

// The record is written whole or not at all, and one that cannot be read is taken as
// empty: every file goes again, and the record is whole once more.
void UploaderTest::damagedRecordCountsAsEmpty()
{
    QFETCH(QByteArray, record);
    REQUIRE_UPLOAD_PEER(Kind::Ftp);
    QVERIFY(m_peer->start(Kind::Ftp, {"thumbs", "images"}));
    const FtpSettings settings = settingsFor("thumbs", "images");
    const QStringList thumbnails = writeLocalFiles("z", 2, "_t");
    const QStringList largeImages = writeLocalFiles("z", 2, "");
    QVERIFY(upload(settings, thumbnails, largeImages).complete());
    const QStringList records = filesBelow(m_records->path());
    QCOMPARE(records.size(), 1);
    const QString recordPath = m_records->filePath(records[0]);
    QVERIFY(QJsonDocument::fromJson(localBytes(recordPath)).isObject());

    QVERIFY(writeBytes(recordPath, record));
    const UploadResult again = upload(settings, thumbnails, largeImages);
    QVERIFY(again.complete());
    QCOMPARE(again.sent, 4);
    QVERIFY(m_observer.messages.isEmpty());
    QCOMPARE(filesBelow(m_records->path()), records);
    QVERIFY(QJsonDocument::fromJson(localBytes(recordPath)).isObject());
    QCOMPARE(upload(settings, thumbnails, largeImages).unchanged, 4);
}

void UploaderTest::keepsTheLastConnectionOpenUntilTheNextUpload()
{
    REQUIRE_UPLOAD_PEER(Kind::Ftp);
    QVERIFY(m_peer->start(Kind::Ftp, {"thumbs", "images"}));
    const QStringList largeImages = writeLocalFiles("k", 1, "");
    const FtpSettings settings = settingsFor("thumbs", "images");
    const auto quits = [this] { return m_peer->serverLog().count("<- QUIT"); };
    {
        Uploader uploader(withRecord(m_peer->options()));
        uploader.UploadImages(settings, requestFor(settings, {}, largeImages), m_observer, m_trust);
        QVERIFY(m_observer.messages.isEmpty());
        QCOMPARE(quits(), 0);
        uploader.UploadImages(settings, requestFor(settings, {}, largeImages), m_observer, m_trust);
        QVERIFY(m_observer.messages.isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(quits(), 1, 5000);
    }
    QTRY_COMPARE_WITH_TIMEOUT(quits(), 2, 5000);
    QCOMPARE(remoteCopy("images", largeImages[0]), localBytes(largeImages[0]));
}

QTEST_GUILESS_MAIN(UploaderTest)
#include "tst_uploader.moc"
