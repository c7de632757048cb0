#include "ScriptedTrust.h"
#include "SshKey.h"
#include "UploadPeer.h"

#include "upload/FtpLogin.h"
#include "upload/FtpSession.h"
#include "upload/NetworkLibrary.h"
#include "upload/RemotePath.h"
#include "upload/SftpConnection.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Kind = UploadPeer::Kind;
using Certificate = UploadPeer::Certificate;

// Changes one field of the settings a test starts from.
void change(FtpSettings& settings, const QString& field, const QVariant& value)
{
    if (field == "Server")
        settings.Server = value.toString();
    else if (field == "Port")
        settings.Port = value.toInt();
    else if (field == "UserName")
        settings.UserName = value.toString();
    else if (field == "Password")
        settings.Password = value.toString();
    else if (field == "Security")
        settings.Security = value.toInt();
    else if (field == "TrustedFingerprint")
        settings.TrustedFingerprint = value.toString();
}

// A local port whose TCP connections are never made: it listens, but its queue is full, so
// the system drops every further attempt, as a host behind a firewall that drops them does.
class UnansweredPort
{
public:
    UnansweredPort() : m_listener(socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_listener < 0 ||
            bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(m_listener, 0) != 0 ||
            getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        for (int& filler : m_fillers) {
            filler = socket(AF_INET, SOCK_STREAM, 0);
            fcntl(filler, F_SETFL, O_NONBLOCK);
            ::connect(filler, reinterpret_cast<sockaddr*>(&address), length);
        }
        m_port = ntohs(address.sin_port);
    }
    ~UnansweredPort()
    {
        for (const int filler : m_fillers)
            close(filler);
        close(m_listener);
    }
    UnansweredPort(const UnansweredPort&) = delete;
    UnansweredPort& operator=(const UnansweredPort&) = delete;

    quint16 port() const { return m_port; }

private:
    int m_listener;
    int m_fillers[4] = {-1, -1, -1, -1};
    quint16 m_port = 0;
};

} // namespace

class FtpConnectionTest : public QObject
{
    Q_OBJECT

private:
    // Bytes a text-mode transfer would change: line breaks of both kinds and every byte value.
    QByteArray writeLocalFile(const QString& name)
    {
        QByteArray bytes = "line\r\nbreak\nand\r";
        for (int i = 0; i < 4096; ++i)
            bytes += char(QRandomGenerator::global()->bounded(256));
        QFile file(m_local.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        return bytes;
    }

    QByteArray remoteFile(const QString& relative)
    {
        QFile file(m_peer->homePath(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    FtpConnectResult connect(const FtpSettings& settings, const FtpOptions& options)
    {
        FtpSession session(options);
        return session.GetFtpConnection(FtpLogin::fromSettings(settings), m_trust);
    }

    FtpConnectResult connect() { return connect(m_peer->settings(), m_peer->options()); }

    // Stores a file through the connection and checks that it arrived unchanged.
    void storesIn(FtpConnection& connection, const QString& directory)
    {
        const QByteArray bytes = writeLocalFile("check.jpg");
        QCOMPARE(connection.PutFile(m_local.filePath("check.jpg"), "check.jpg"),
                 TransferResult::Stored);
        QCOMPARE(remoteFile(directory + "/check.jpg"), bytes);
    }

    NetworkLibrary m_network;
    QTemporaryDir m_local;
    ScriptedTrust m_trust;
    std::unique_ptr<UploadPeer> m_peer;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void storesFilesByteIdentical_data();
    void storesFilesByteIdentical();
    void changesDirectoryAsTheServerDoes_data();
    void changesDirectoryAsTheServerDoes();
    void resolvesSftpDirectoriesAsAServer_data();
    void resolvesSftpDirectoriesAsAServer();
    void keepsUnusualNamesIntact_data();
    void keepsUnusualNamesIntact();
    void failsToStoreWithoutBreakingTheConnection();
    void refusesToConnectAndSaysWhy_data();
    void refusesToConnectAndSaysWhy();
    void fallsBackOnlyWhenTlsIsOptional_data();
    void fallsBackOnlyWhenTlsIsOptional();
    void untrustedKeyStopsTheLogin_data();
    void untrustedKeyStopsTheLogin();
    void trustedKeyIsAcceptedWithoutAsking_data();
    void trustedKeyIsAcceptedWithoutAsking();
    void changedKeyIsRefused_data();
    void changedKeyIsRefused();
    void logsInWithTheUsersKeys_data();
    void logsInWithTheUsersKeys();
    void sendsEmptyLoginAsItStands();
    void connectionOutlivesItsSession();
    void closedSessionOpensNoConnection();
    void listsSizesAndRenamesOverAFile_data();
    void listsSizesAndRenamesOverAFile();
    void makesFoldersWithTheirParents_data();
    void makesFoldersWithTheirParents();
    void refusesANulInAName_data();
    void refusesANulInAName();
    void waitsForEachReplyNotForTheWholeLogin();
    void givesUpATcpConnectionThatIsNeverMade();
};

void FtpConnectionTest::initTestCase()
{
    QVERIFY(m_network.isReady());
}

void FtpConnectionTest::init()
{
    m_trust = ScriptedTrust();
    m_peer = std::make_unique<UploadPeer>();
}

void FtpConnectionTest::cleanup()
{
    m_peer.reset();
}

void FtpConnectionTest::storesFilesByteIdentical_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("passive");
    QTest::addColumn<QString>("dataCommand"); // as the server logs it; empty: not logged

    // clang-format off
    QTest::newRow("FTP, passive") << Kind::Ftp << true << "<- EPSV";
    QTest::newRow("FTP, active") << Kind::Ftp << false << "<- EPRT";
    // The TLS server refuses data connections that are not protected or do not resume the
    // control connection's session. TLS data connections are always passive.
    QTest::newRow("FTP over TLS, passive") << Kind::FtpTls << true << "<- EPSV";
    QTest::newRow("FTP over TLS, active asked") << Kind::FtpTls << false << "<- EPSV";
    QTest::newRow("SFTP") << Kind::Sftp << true << "";
    QTest::newRow("SFTP with a key") << Kind::SshKey << true << "";
    // clang-format on
}

void FtpConnectionTest::storesFilesByteIdentical()
{
    QFETCH(Kind, kind);
    QFETCH(bool, passive);
    QFETCH(QString, dataCommand);
    REQUIRE_UPLOAD_PEER(kind);
    QVERIFY(m_peer->start(kind, {"thumbs"}));
    const QByteArray bytes = writeLocalFile("beach01_t.jpg");
    FtpSettings settings = m_peer->settings();
    settings.Passive = passive ? 1 : 0;

    const FtpConnectResult result = connect(settings, m_peer->options());
    QVERIFY2(result.connection, qPrintable(result.reason()));
    QVERIFY(!result.tlsDeclined);
    QVERIFY(result.connection->SetCurrentDirectory("thumbs"));
    QCOMPARE(result.connection->PutFile(m_local.filePath("beach01_t.jpg"), "beach01_t.jpg"),
             TransferResult::Stored);
    QCOMPARE(remoteFile("thumbs/beach01_t.jpg"), bytes);
    if (!dataCommand.isEmpty())
        QVERIFY(m_peer->serverLog().contains(dataCommand));
    if (kind == Kind::FtpTls)
        QVERIFY(m_peer->serverLog().contains("<- PROT P"));
}

void FtpConnectionTest::changesDirectoryAsTheServerDoes_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QStringList>("directories");
    QTest::addColumn<QList<bool>>("changed");
    QTest::addColumn<QString>("landsIn");

    // SFTP has no current directory of its own; the connection must keep one that acts
    // exactly as an FTP server's does.
    for (const Kind kind : {Kind::Ftp, Kind::Sftp}) {
        const auto row = [kind](const char* name) -> QTestData& {
            return QTest::addRow("%s: %s", UploadPeer::name(kind), name) << kind;
        };
        // clang-format off
        row("from the login directory")
            << QStringList{"thumbs"} << QList<bool>{true} << "thumbs";
        row("back up with ..// then on")
            << QStringList{"www/thumbs", "..//", "images"} << QList<bool>{true, true, true}
            << "www/images";
        row("..// from the login directory")
            << QStringList{"..//", "images"} << QList<bool>{true, true} << "images";
        row("absolute from anywhere")
            << QStringList{"www/thumbs", "/images"} << QList<bool>{true, true} << "images";
        row("missing directory keeps the current one")
            << QStringList{"www", "nothere", "thumbs"} << QList<bool>{true, false, true}
            << "www/thumbs";
        row("a file is not a directory")
            << QStringList{"www", "file.txt", "thumbs"} << QList<bool>{true, false, true}
            << "www/thumbs";
        row("a line break is never sent")
            << QStringList{"thumbs\r\nDELE x"} << QList<bool>{false} << "";
        // clang-format on
    }
}

void FtpConnectionTest::changesDirectoryAsTheServerDoes()
{
    QFETCH(Kind, kind);
    QFETCH(QStringList, directories);
    QFETCH(QList<bool>, changed);
    QFETCH(QString, landsIn);
    REQUIRE_UPLOAD_PEER(kind);
    QVERIFY(m_peer->start(kind, {"thumbs", "images", "www/thumbs", "www/images"}));
    QFile file(m_peer->homePath("www/file.txt"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QByteArray bytes = writeLocalFile("a.jpg");

    const FtpConnectResult result = connect();
    QVERIFY2(result.connection, qPrintable(result.reason()));
    for (int i = 0; i < directories.size(); ++i)
        QCOMPARE(result.connection->SetCurrentDirectory(directories[i]), changed[i]);
    QCOMPARE(result.connection->PutFile(m_local.filePath("a.jpg"), "a.jpg"),
             TransferResult::Stored);
    QCOMPARE(remoteFile(landsIn.isEmpty() ? "a.jpg" : landsIn + "/a.jpg"), bytes);
}

void FtpConnectionTest::resolvesSftpDirectoriesAsAServer_data()
{
    QTest::addColumn<QByteArray>("current");
    QTest::addColumn<QByteArray>("directory");
    QTest::addColumn<QByteArray>("resolved");

    // clang-format off
    QTest::newRow("relative") << QByteArray("/home/site") << QByteArray("www/thumbs")
                              << QByteArray("/home/site/www/thumbs");
    QTest::newRow("..// goes up one") << QByteArray("/home/site/www/thumbs") << QByteArray("..//")
                                      << QByteArray("/home/site/www");
    QTest::newRow("absolute") << QByteArray("/home/site") << QByteArray("/srv/images")
                              << QByteArray("/srv/images");
    QTest::newRow("no higher than the top") << QByteArray("/a") << QByteArray("../../..")
                                            << QByteArray("/");
    QTest::newRow("empty stays") << QByteArray("/a/b") << QByteArray("") << QByteArray("/a/b");
    QTest::newRow("dots and doubled slashes") << QByteArray("/a/b") << QByteArray("./c//d/./..")
                                              << QByteArray("/a/b/c");
    QTest::newRow(".. after an empty part") << QByteArray("/a/b") << QByteArray("x//..")
                                            << QByteArray("/a/b");
    QTest::newRow("a name with dots") << QByteArray("/a") << QByteArray("...")
                                      << QByteArray("/a/...");
    // clang-format on
}

void FtpConnectionTest::resolvesSftpDirectoriesAsAServer()
{
    QFETCH(QByteArray, current);
    QFETCH(QByteArray, directory);
    QTEST(RemotePath::resolve(current, directory), "resolved");
}

void FtpConnectionTest::keepsUnusualNamesIntact_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::newRow("FTP") << Kind::Ftp;
    QTest::newRow("SFTP") << Kind::Sftp;
}

void FtpConnectionTest::keepsUnusualNamesIntact()
{
    QFETCH(Kind, kind);
    REQUIRE_UPLOAD_PEER(kind);
    const QString directory = QStringLiteral("say \"hi\" 100% #1?");
    const QString name = QStringLiteral("a b%20#?é.jpg");
    QVERIFY(m_peer->start(kind, {directory}));
    const QByteArray bytes = writeLocalFile("local.jpg");

    const FtpConnectResult result = connect();
    QVERIFY2(result.connection, qPrintable(result.reason()));
    QVERIFY(result.connection->SetCurrentDirectory(directory));
    QCOMPARE(result.connection->PutFile(m_local.filePath("local.jpg"), name),
             TransferResult::Stored);
    QCOMPARE(remoteFile(directory + "/" + name), bytes);
}

void FtpConnectionTest::failsToStoreWithoutBreakingTheConnection()
{
    REQUIRE_FTP_SERVER();
    FtpServer server;
    FtpServer::Account account;
    account.readOnly = {"locked"};
    QVERIFY(server.start(account, {"locked", "open"}));
    FtpSettings settings = server.settings();
    const QByteArray bytes = writeLocalFile("a.jpg");

    const FtpConnectResult result = connect(settings, {});
    QVERIFY(result.connection);
    FtpConnection& connection = *result.connection;
    QVERIFY(connection.SetCurrentDirectory("locked"));
    QCOMPARE(connection.PutFile(m_local.filePath("a.jpg"), "a.jpg"), TransferResult::Failed);
    QVERIFY(!QFile::exists(server.homePath("locked/a.jpg")));
    QVERIFY(connection.SetCurrentDirectory("../open"));
    QCOMPARE(connection.PutFile(m_local.filePath("never-written.jpg"), "b.jpg"),
             TransferResult::Failed);
    QCOMPARE(connection.PutFile(m_local.path(), "c.jpg"), TransferResult::Failed);
    QCOMPARE(connection.PutFile(m_local.filePath("a.jpg"), "a.jpg"), TransferResult::Stored);
    QFile stored(server.homePath("open/a.jpg"));
    QVERIFY(stored.open(QIODevice::ReadOnly));
    QCOMPARE(stored.readAll(), bytes);
}

void FtpConnectionTest::refusesToConnectAndSaysWhy_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<ConnectFailure>("failure");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("loginSent");

    const QString outOfRange = "The port must be between 0 and 65535.";
    // clang-format off
    QTest::newRow("nothing listens")
        << Kind::Ftp << "Port" << QVariant(1) << ConnectFailure::Refused
        << "The server refused the connection." << false;
    QTest::newRow("FTP, wrong password")
        << Kind::Ftp << "Password" << QVariant("wrong") << ConnectFailure::LoginIncorrect
        << "Login incorrect." << true;
    QTest::newRow("FTP, unknown user")
        << Kind::Ftp << "UserName" << QVariant("nobody") << ConnectFailure::LoginIncorrect
        << "Login incorrect." << true;
    QTest::newRow("FTP over TLS, wrong password")
        << Kind::FtpTls << "Password" << QVariant("wrong") << ConnectFailure::LoginIncorrect
        << "Login incorrect." << true;
    QTest::newRow("SFTP, wrong password")
        << Kind::Sftp << "Password" << QVariant("wrong") << ConnectFailure::LoginIncorrect
        << "Login incorrect." << true;
    QTest::newRow("no server name")
        << Kind::Ftp << "Server" << QVariant("") << ConnectFailure::InvalidServer
        << "The server name is not valid." << false;
    QTest::newRow("server name with a path")
        << Kind::Ftp << "Server" << QVariant("127.0.0.1/x") << ConnectFailure::InvalidServer
        << "The server name is not valid." << false;
    QTest::newRow("line break in the password")
        << Kind::Ftp << "Password" << QVariant("s3cret pass\r\nDELE x") << ConnectFailure::LineBreak
        << "The user name or the password holds a line break." << false;
    QTest::newRow("port 65536")
        << Kind::Ftp << "Port" << QVariant(65536) << ConnectFailure::PortOutOfRange << outOfRange
        << false;
    QTest::newRow("port 67837, 2301 in its low bits")
        << Kind::Ftp << "Port" << QVariant(67837) << ConnectFailure::PortOutOfRange << outOfRange
        << false;
    QTest::newRow("negative port")
        << Kind::Ftp << "Port" << QVariant(-1) << ConnectFailure::PortOutOfRange << outOfRange
        << false;
    QTest::newRow("unknown security")
        << Kind::Ftp << "Security" << QVariant(4) << ConnectFailure::UnknownSecurity
        << "The security setting is not one this program knows." << false;
    QTest::newRow("negative security")
        << Kind::Ftp << "Security" << QVariant(-1) << ConnectFailure::UnknownSecurity
        << "The security setting is not one this program knows." << false;
    QTest::newRow("TLS required, server without TLS")
        << Kind::Ftp << "Security" << QVariant(2) << ConnectFailure::TlsNotOffered
        << "The server does not offer FTP over TLS, so nothing was sent." << false;
    QTest::newRow("fingerprint that is no fingerprint")
        << Kind::Sftp << "TrustedFingerprint" << QVariant("12:34:zz") << ConnectFailure::InvalidFingerprint
        << "The trusted fingerprint in the settings is not a SHA-256 fingerprint." << false;
    // clang-format on
}

void FtpConnectionTest::refusesToConnectAndSaysWhy()
{
    QFETCH(Kind, kind);
    QFETCH(QString, field);
    QFETCH(QVariant, value);
    QFETCH(bool, loginSent);
    REQUIRE_UPLOAD_PEER(kind);
    QVERIFY(m_peer->start(kind));
    FtpSettings settings = m_peer->settings();
    change(settings, field, value);

    const FtpConnectResult result = connect(settings, m_peer->options());
    QVERIFY(!result.connection);
    QTEST(result.failure, "failure");
    QTEST(result.reason(), "reason");
    QCOMPARE(m_peer->sawLogin(), loginSent);
    QVERIFY(m_trust.shown.isEmpty());
}

void FtpConnectionTest::fallsBackOnlyWhenTlsIsOptional_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<bool>("declined");

    QTest::newRow("server without TLS") << Kind::Ftp << true;
    QTest::newRow("server with TLS") << Kind::FtpTls << false;
}

void FtpConnectionTest::fallsBackOnlyWhenTlsIsOptional()
{
    QFETCH(Kind, kind);
    QFETCH(bool, declined);
    REQUIRE_UPLOAD_PEER(kind);
    QVERIFY(m_peer->start(kind, {"images"}));
    FtpSettings settings = m_peer->settings();
    settings.Security = 1;

    const FtpConnectResult result = connect(settings, m_peer->options());
    QVERIFY2(result.connection, qPrintable(result.reason()));
    QCOMPARE(result.tlsDeclined, declined);
    QVERIFY(m_peer->serverLog().contains("<- AUTH TLS"));
    QVERIFY(result.connection->SetCurrentDirectory("images"));
    storesIn(*result.connection, "images");
}

void FtpConnectionTest::untrustedKeyStopsTheLogin_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<Certificate>("certificate");
    QTest::addColumn<bool>("withAuthority");  // the test authority in the options
    QTest::addColumn<QString>("description"); // a line of ServerKey::description()
    QTest::addColumn<bool>("trust");

    for (const bool trust : {false, true}) {
        const char* answer = trust ? "trusted" : "not trusted";
        // clang-format off
        QTest::addRow("self-signed certificate, %s", answer)
            << Kind::FtpTls << Certificate::SelfSigned << true << "Issuer: CN=localhost"
            << trust;
        QTest::addRow("certificate of an unknown authority, %s", answer)
            << Kind::FtpTls << Certificate::Server << false
            << "Issuer: CN=Morvane Test Authority" << trust;
        QTest::addRow("certificate for another name, %s", answer)
            << Kind::FtpTls << Certificate::OtherName << true << "Subject: CN=localhost" << trust;
        QTest::addRow("SSH host key not known yet, %s", answer)
            << Kind::Sftp << Certificate::Server << false << "Key type: ssh-ed25519" << trust;
        QTest::addRow("sshd host key not known yet, %s", answer)
            << Kind::SshKey << Certificate::Server << false << "Key type: ssh-ed25519" << trust;
        // clang-format on
    }
}

void FtpConnectionTest::untrustedKeyStopsTheLogin()
{
    QFETCH(Kind, kind);
    QFETCH(Certificate, certificate);
    QFETCH(bool, withAuthority);
    QFETCH(QString, description);
    QFETCH(bool, trust);
    REQUIRE_UPLOAD_PEER(kind);
    QVERIFY(m_peer->start(kind, {"images"}, certificate));
    FtpSettings settings = m_peer->settings();
    settings.TrustedFingerprint.clear();
    m_trust.answer = trust;

    const FtpConnectResult result =
        connect(settings, withAuthority ? m_peer->options() : FtpOptions());
    QCOMPARE(m_trust.shown.size(), 1);
    const ServerKey& shown = m_trust.shown.first();
    QCOMPARE(shown.fingerprint(), m_peer->keyFingerprint());
    QVERIFY2(shown.description().split('\n').contains(description),
             qPrintable(shown.description()));
    if (!trust) {
        QVERIFY(!result.connection);
        QCOMPARE(result.failure, ConnectFailure::UntrustedKey);
        QCOMPARE(result.reason(), shown.untrustedReason());
        QVERIFY(!m_peer->sawLogin());
        return;
    }
    QVERIFY2(result.connection, qPrintable(result.reason()));
    QVERIFY(result.connection->SetCurrentDirectory("images"));
    storesIn(*result.connection, "images");
}

void FtpConnectionTest::trustedKeyIsAcceptedWithoutAsking_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::newRow("self-signed certificate") << Kind::FtpTls;
    QTest::newRow("SSH host key") << Kind::Sftp;
}

void FtpConnectionTest::trustedKeyIsAcceptedWithoutAsking()
{
    QFETCH(Kind, kind);
    REQUIRE_UPLOAD_PEER(kind);
    QVERIFY(m_peer->start(kind, {"images"}, Certificate::SelfSigned));
    FtpSettings settings = m_peer->settings();
    // As the settings file holds it, and as a person might type it.
    for (const QString& fingerprint :
         {m_peer->keyFingerprint(), m_peer->keyFingerprint().toUpper().remove(':')}) {
        settings.TrustedFingerprint = fingerprint;
        const FtpConnectResult result = connect(settings, FtpOptions());
        QVERIFY2(result.connection, qPrintable(result.reason()));
        QVERIFY(result.connection->SetCurrentDirectory("images"));
        storesIn(*result.connection, "images");
    }
    QVERIFY(m_trust.shown.isEmpty());
}

void FtpConnectionTest::changedKeyIsRefused_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::newRow("certificate") << Kind::FtpTls;
    QTest::newRow("SSH host key") << Kind::Sftp;
    QTest::newRow("sshd host key") << Kind::SshKey;
}

void FtpConnectionTest::changedKeyIsRefused()
{
    QFETCH(Kind, kind);
    REQUIRE_UPLOAD_PEER(kind);
    QVERIFY(m_peer->start(kind, {}, Certificate::SelfSigned));
    // The key the server had when the user trusted it.
    QTemporaryDir keys;
    QString trusted = TestCertificates::fingerprint(m_peer->certificates().replacement());
    if (kind != Kind::FtpTls) {
        QVERIFY(SshKey::generate(keys.filePath("old_host_key")));
        trusted = SshKey::fingerprint(keys.filePath("old_host_key.pub"));
    }
    FtpSettings settings = m_peer->settings();
    settings.TrustedFingerprint = trusted;
    m_trust.answer = true;

    const FtpConnectResult result = connect(settings, m_peer->options());
    QVERIFY(!result.connection);
    QCOMPARE(result.failure, ConnectFailure::ChangedKey);
    QVERIFY(m_trust.shown.isEmpty());
    QVERIFY(result.serverKey);
    QCOMPARE(result.serverKey->fingerprint(), m_peer->keyFingerprint());
    QVERIFY(result.reason().startsWith("The server's key has changed"));
    QVERIFY(result.reason().contains("Trusted key: " + trusted));
    QVERIFY(result.reason().contains("Key presented now: " + m_peer->keyFingerprint()));
    QVERIFY(!m_peer->sawLogin());
}

void FtpConnectionTest::logsInWithTheUsersKeys_data()
{
    QTest::addColumn<QStringList>("homeKeys"); // key files in ~/.ssh
    QTest::addColumn<QString>("authorized");   // the one the server takes
    QTest::addColumn<bool>("agentHoldsIt");    // the authorized key is in an SSH agent
    QTest::addColumn<bool>("loggedIn");

    // clang-format off
    QTest::newRow("id_ed25519") << QStringList{"id_ed25519"} << "id_ed25519" << false << true;
    QTest::newRow("id_rsa") << QStringList{"id_rsa"} << "id_rsa" << false << true;
    QTest::newRow("id_rsa after a refused id_ed25519")
        << QStringList{"id_ed25519", "id_rsa"} << "id_rsa" << false << true;
    QTest::newRow("key in the agent") << QStringList{} << "agent_key" << true << true;
    QTest::newRow("no key the server takes")
        << QStringList{"id_ed25519"} << "other_key" << false << false;
    // clang-format on
}

void FtpConnectionTest::logsInWithTheUsersKeys()
{
    QFETCH(QStringList, homeKeys);
    QFETCH(QString, authorized);
    QFETCH(bool, agentHoldsIt);
    QFETCH(bool, loggedIn);
    REQUIRE_SSH_SERVER();
    QTemporaryDir home;
    QTemporaryDir keys;
    QVERIFY(QDir(home.path()).mkpath(".ssh"));
    for (const QString& key : homeKeys)
        QVERIFY(SshKey::generate(home.filePath(".ssh/" + key), key.mid(3)));
    if (!homeKeys.contains(authorized))
        QVERIFY(SshKey::generate(keys.filePath(authorized)));
    const QString authorizedFile = homeKeys.contains(authorized)
                                       ? home.filePath(".ssh/" + authorized)
                                       : keys.filePath(authorized);
    QProcess agent;
    const QString agentSocket = keys.filePath("agent.socket");
    if (agentHoldsIt) {
        agent.start("ssh-agent", {"-D", "-a", agentSocket});
        QVERIFY(agent.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(agentSocket), 5000);
        QProcess add;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("SSH_AUTH_SOCK", agentSocket);
        add.setProcessEnvironment(environment);
        add.start("ssh-add", {"-q", authorizedFile});
        QVERIFY(add.waitForFinished() && add.exitCode() == 0);
    }
    const QByteArray oldHome = qgetenv("HOME");
    const QByteArray oldAgent = qgetenv("SSH_AUTH_SOCK");
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("SSH_AUTH_SOCK", agentHoldsIt ? QFile::encodeName(agentSocket) : QByteArray());
    SshServer server;
    const bool started = server.start(authorizedFile + ".pub", {"images"});
    FtpSettings settings;
    settings.Server = "127.0.0.1";
    settings.Port = server.port();
    settings.UserName = server.userName();
    settings.Security = 3;
    settings.TrustedFingerprint = server.hostKeyFingerprint();
    const FtpConnectResult result = started ? connect(settings, {}) : FtpConnectResult();
    qputenv("HOME", oldHome);
    qputenv("SSH_AUTH_SOCK", oldAgent);
    if (agentHoldsIt) {
        agent.kill();
        agent.waitForFinished();
    }

    QVERIFY(started);
    QCOMPARE(bool(result.connection), loggedIn);
    if (!loggedIn)
        QCOMPARE(result.failure, ConnectFailure::LoginIncorrect);
}

void FtpConnectionTest::sendsEmptyLoginAsItStands()
{
    REQUIRE_UPLOAD_PEER(Kind::Ftp);
    QVERIFY(m_peer->start(Kind::Ftp));
    FtpSettings settings = m_peer->settings();
    settings.UserName.clear();
    settings.Password.clear();
    connect(settings, {});
    const QString log = m_peer->serverLog();
    QVERIFY2(log.contains(QRegularExpression("<- USER\\s*$", QRegularExpression::MultilineOption)),
             qPrintable(log));
    QVERIFY(!log.contains("anonymous"));
}

void FtpConnectionTest::connectionOutlivesItsSession()
{
    REQUIRE_UPLOAD_PEER(Kind::Ftp);
    QVERIFY(m_peer->start(Kind::Ftp, {"images"}));
    auto session = std::make_unique<FtpSession>();
    const FtpConnectResult result =
        session->GetFtpConnection(FtpLogin::fromSettings(m_peer->settings()), m_trust);
    QVERIFY(result.connection);
    session->Close();
    session.reset();
    QVERIFY(result.connection->SetCurrentDirectory("images"));
    storesIn(*result.connection, "images");
}

void FtpConnectionTest::closedSessionOpensNoConnection()
{
    REQUIRE_UPLOAD_PEER(Kind::Ftp);
    QVERIFY(m_peer->start(Kind::Ftp));
    FtpSession session;
    session.Close();
    QVERIFY(
        !session.GetFtpConnection(FtpLogin::fromSettings(m_peer->settings()), m_trust).connection);
}

void FtpConnectionTest::listsSizesAndRenamesOverAFile_data()
{
    QTest::addColumn<Kind>("kind");
    for (const Kind kind : {Kind::Ftp, Kind::FtpTls, Kind::Sftp, Kind::SshKey})
        QTest::addRow("%s", UploadPeer::name(kind)) << kind;
}

// What an upload needs beyond storing: the sizes the server holds, and a file taking the name
// of another, which it replaces.
void FtpConnectionTest::listsSizesAndRenamesOverAFile()
{
    QFETCH(Kind, kind);
    REQUIRE_UPLOAD_PEER(kind);
    QVERIFY(m_peer->start(kind, {"site/sub"}));
    QFile old(m_peer->homePath("site/a picture.jpg"));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    const QByteArray bytes = writeLocalFile("new.jpg");
    const FtpConnectResult result = connect();
    QVERIFY(result.connection);
    FtpConnection& connection = *result.connection;
    QVERIFY(connection.SetCurrentDirectory("site"));
    QCOMPARE(connection.PutFile(m_local.filePath("new.jpg"), ".new.tmp"), TransferResult::Stored);

    QCOMPARE(connection.FileSize(".new.tmp"), std::optional<qint64>(bytes.size()));
    QCOMPARE(connection.FileSize("missing.jpg"), std::nullopt);
    const std::optional<RemoteListing> listing = connection.ListDirectory();
    QVERIFY(listing);
    // Files only, with their sizes; the folder is not among them.
    QCOMPARE(*listing, (RemoteListing{{"a picture.jpg", 3}, {".new.tmp", bytes.size()}}));

    QVERIFY(connection.RenameFile(".new.tmp", "a picture.jpg"));
    QCOMPARE(remoteFile("site/a picture.jpg"), bytes);
    QVERIFY(!QFile::exists(m_peer->homePath("site/.new.tmp")));
    QVERIFY(!connection.RenameFile(".new.tmp", "other.jpg"));
    QVERIFY(connection.RemoveFile("a picture.jpg"));
    QCOMPARE(connection.ListDirectory(), std::optional<RemoteListing>(RemoteListing()));
}

void FtpConnectionTest::makesFoldersWithTheirParents_data()
{
    QTest::addColumn<Kind>("kind");
    for (const Kind kind : {Kind::Ftp, Kind::FtpTls, Kind::Sftp, Kind::SshKey})
        QTest::addRow("%s", UploadPeer::name(kind)) << kind;
}

void FtpConnectionTest::makesFoldersWithTheirParents()
{
    QFETCH(Kind, kind);
    REQUIRE_UPLOAD_PEER(kind);
    QVERIFY(m_peer->start(kind, {"www"}));
    const FtpConnectResult result = connect();
    QVERIFY(result.connection);
    FtpConnection& connection = *result.connection;
    const QString start = connection.CurrentDirectory();

    QVERIFY(!connection.SetCurrentDirectory("www/a/b"));
    QVERIFY(connection.CreateDirectory("www/a/b"));
    // Making leaves the connection where it was.
    QCOMPARE(connection.CurrentDirectory(), start);
    QVERIFY(QFileInfo(m_peer->homePath("www/a/b")).isDir());
    QVERIFY(connection.SetCurrentDirectory("www/a/b"));
    QCOMPARE(connection.CurrentDirectory(), m_peer->remotePath("www/a/b"));
    // Folders that exist are no failure; ".." goes up on the way.
    QVERIFY(connection.CreateDirectory("../../c"));
    QVERIFY(QFileInfo(m_peer->homePath("www/c")).isDir());
    QVERIFY(connection.CreateDirectory(m_peer->remotePath("www/a")));
    storesIn(connection, "www/a/b");
}

void FtpConnectionTest::refusesANulInAName_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QString>("operation");

    // Cut at the NUL, each name would be another file's or folder's: the remove, the rename
    // or the size would act on a.jpg, the directory change would enter sub.
    for (const Kind kind : {Kind::Ftp, Kind::Sftp}) {
        for (const char* operation :
             {"remove", "rename from", "rename to", "size", "make folder", "change directory"})
            QTest::addRow("%s: %s", UploadPeer::name(kind), operation) << kind << operation;
    }
}

void FtpConnectionTest::refusesANulInAName()
{
    QFETCH(Kind, kind);
    QFETCH(QString, operation);
    REQUIRE_UPLOAD_PEER(kind);
    QVERIFY(m_peer->start(kind, {"site/sub"}));
    for (const auto& [name, bytes] : {std::pair{"a.jpg", "old"}, std::pair{"b.jpg", "new"}}) {
        QFile file(m_peer->homePath(QString("site/") + name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == 3);
    }
    const FtpConnectResult result = connect();
    QVERIFY(result.connection);
    FtpConnection& connection = *result.connection;
    QVERIFY(connection.SetCurrentDirectory("site"));
    const QString directory = connection.CurrentDirectory();
    const qsizetype logged = m_peer->serverLog().size();
    const QString nul(QChar(0));

    bool done = true;
    if (operation == "remove")
        done = connection.RemoveFile("a.jpg" + nul + "b.jpg");
    else if (operation == "rename from")
        done = connection.RenameFile("b.jpg" + nul + "x", "a.jpg");
    else if (operation == "rename to")
        done = connection.RenameFile("b.jpg", "a.jpg" + nul + "x");
    else if (operation == "size")
        done = connection.FileSize("a.jpg" + nul + "x").has_value();
    else if (operation == "make folder")
        done = connection.CreateDirectory("c" + nul + "d");
    else if (operation == "change directory")
        done = connection.SetCurrentDirectory("sub" + nul + "x");
    QVERIFY(!done);

    // A request after it: the server has noted all that came before.
    QVERIFY(connection.ListDirectory());
    if (kind == Kind::Ftp) {
        const QString sent = m_peer->serverLog().mid(logged);
        QVERIFY2(!sent.contains(QRegularExpression("^<- (CWD|MKD|SIZE|RNFR|RNTO|DELE)",
                                                   QRegularExpression::MultilineOption)),
                 qPrintable(sent));
    }
    QCOMPARE(remoteFile("site/a.jpg"), QByteArray("old"));
    QCOMPARE(remoteFile("site/b.jpg"), QByteArray("new"));
    QVERIFY(!QFileInfo::exists(m_peer->homePath("site/c")));
    QCOMPARE(connection.CurrentDirectory(), directory);
}

// A server that takes its time over every reply is slow, not gone: only one reply kept
// waiting for the whole time-out counts, however long the login takes in all.
void FtpConnectionTest::waitsForEachReplyNotForTheWholeLogin()
{
    REQUIRE_FTP_SERVER();
    FtpServer server;
    FtpServer::Behaviour slow;
    slow.replyDelay = 0.3;
    slow.dataDelay = 0.3;
    QVERIFY(server.start(FtpServer::Account(), {"images"}, slow));
    FtpOptions options;
    options.timeouts.connect = options.timeouts.receive = options.timeouts.send =
        std::chrono::seconds(1);

    const FtpConnectResult result = connect(server.settings(), options);
    QVERIFY2(result.connection, qPrintable(result.reason()));
    QVERIFY(result.connection->SetCurrentDirectory("images"));
    const QByteArray bytes = writeLocalFile("slow.jpg");
    QCOMPARE(result.connection->PutFile(m_local.filePath("slow.jpg"), "slow.jpg"),
             TransferResult::Stored);
    QFile stored(server.homePath("images/slow.jpg"));
    QVERIFY(stored.open(QIODevice::ReadOnly));
    QCOMPARE(stored.readAll(), bytes);
}

// The connect time-out holds for the TCP connection itself, not only for the login as a
// whole, which may take much longer.
void FtpConnectionTest::givesUpATcpConnectionThatIsNeverMade()
{
    const UnansweredPort unanswered;
    QVERIFY(unanswered.port() != 0);
    FtpSettings settings;
    settings.Server = "127.0.0.1";
    settings.Port = unanswered.port();
    FtpOptions options;
    options.timeouts.connect = std::chrono::seconds(1);
    options.timeouts.receive = std::chrono::seconds(5);

    QElapsedTimer timer;
    timer.start();
    const FtpConnectResult result = connect(settings, options);
    QVERIFY(!result.connection);
    QCOMPARE(result.failure, ConnectFailure::TimedOut);
    QCOMPARE(result.reason(), QStringLiteral("Connection timed out."));
    // Far below the 51 seconds a login may take at these time-outs.
    QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
}

QTEST_GUILESS_MAIN(FtpConnectionTest)
#include "tst_ftpconnection.moc"
