#include "FtpServer.h"

#include "upload/FtpConnection.h"
#include "upload/FtpSession.h"
#include "upload/NetworkLibrary.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

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
        QFile file(m_server->homePath(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    std::unique_ptr<FtpConnection> connect(bool passive = true)
    {
        FtpSession session;
        return session.GetFtpConnection("127.0.0.1", m_account.userName, m_account.password,
                                        m_server->port(), passive);
    }

    NetworkLibrary m_network;
    QTemporaryDir m_local;
    FtpServer::Account m_account;
    std::unique_ptr<FtpServer> m_server;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void storesFilesByteIdentical_data();
    void storesFilesByteIdentical();
    void changesDirectoryAsTheServerDoes_data();
    void changesDirectoryAsTheServerDoes();
    void keepsUnusualNamesIntact();
    void failsToStoreWithoutBreakingTheConnection();
    void refusesToConnect_data();
    void refusesToConnect();
    void sendsEmptyLoginAsItStands();
    void connectionOutlivesItsSession();
    void closedSessionOpensNoConnection();
};

void FtpConnectionTest::initTestCase()
{
    QVERIFY(m_network.isReady());
    REQUIRE_FTP_SERVER();
}

void FtpConnectionTest::init()
{
    m_account = FtpServer::Account();
    m_account.readOnly = {"locked"};
    m_server = std::make_unique<FtpServer>();
    QVERIFY(m_server->start(m_account,
                            {"thumbs", "images", "www/thumbs", "www/images", "locked", "open"}));
}

void FtpConnectionTest::cleanup()
{
    m_server.reset();
}

void FtpConnectionTest::storesFilesByteIdentical_data()
{
    QTest::addColumn<bool>("passive");
    QTest::addColumn<QString>("dataCommand");

    // clang-format off
    QTest::newRow("passive") << true << "<- EPSV";
    QTest::newRow("active") << false << "<- EPRT";
    // clang-format on
}

void FtpConnectionTest::storesFilesByteIdentical()
{
    QFETCH(bool, passive);
    QFETCH(QString, dataCommand);
    const QByteArray bytes = writeLocalFile("beach01_t.jpg");
    const auto connection = connect(passive);
    QVERIFY(connection);
    QVERIFY(connection->SetCurrentDirectory("thumbs"));
    QVERIFY(connection->PutFile(m_local.filePath("beach01_t.jpg"), "beach01_t.jpg"));
    QCOMPARE(remoteFile("thumbs/beach01_t.jpg"), bytes);
    QVERIFY(m_server->commandLog().contains(dataCommand));
}

void FtpConnectionTest::changesDirectoryAsTheServerDoes_data()
{
    QTest::addColumn<QStringList>("directories");
    QTest::addColumn<QList<bool>>("changed");
    QTest::addColumn<QString>("landsIn");

    // clang-format off
    QTest::newRow("from the login directory")
        << QStringList{"thumbs"} << QList<bool>{true} << "thumbs";
    QTest::newRow("back up with ..// then on")
        << QStringList{"www/thumbs", "..//", "images"} << QList<bool>{true, true, true}
        << "www/images";
    QTest::newRow("..// from the login directory")
        << QStringList{"..//", "images"} << QList<bool>{true, true} << "images";
    QTest::newRow("absolute from anywhere")
        << QStringList{"www/thumbs", "/images"} << QList<bool>{true, true} << "images";
    QTest::newRow("missing directory keeps the current one")
        << QStringList{"www", "nothere", "thumbs"} << QList<bool>{true, false, true}
        << "www/thumbs";
    QTest::newRow("a line break is never sent")
        << QStringList{"thumbs\r\nDELE x"} << QList<bool>{false} << "";
    // clang-format on
}

void FtpConnectionTest::changesDirectoryAsTheServerDoes()
{
    QFETCH(QStringList, directories);
    QFETCH(QList<bool>, changed);
    QFETCH(QString, landsIn);
    const QByteArray bytes = writeLocalFile("a.jpg");
    const auto connection = connect();
    QVERIFY(connection);
    for (int i = 0; i < directories.size(); ++i)
        QCOMPARE(connection->SetCurrentDirectory(directories[i]), changed[i]);
    QVERIFY(connection->PutFile(m_local.filePath("a.jpg"), "a.jpg"));
    QCOMPARE(remoteFile(landsIn.isEmpty() ? "a.jpg" : landsIn + "/a.jpg"), bytes);
}

void FtpConnectionTest::keepsUnusualNamesIntact()
{
    const QString directory = QStringLiteral("say \"hi\" 100% #1?");
    const QString name = QStringLiteral("a b%20#?é.jpg");
    QVERIFY(QDir(m_server->homePath()).mkdir(directory));
    const QByteArray bytes = writeLocalFile("local.jpg");
    const auto connection = connect();
    QVERIFY(connection);
    QVERIFY(connection->SetCurrentDirectory(directory));
    QVERIFY(connection->PutFile(m_local.filePath("local.jpg"), name));
    QCOMPARE(remoteFile(directory + "/" + name), bytes);
}

void FtpConnectionTest::failsToStoreWithoutBreakingTheConnection()
{
    const QByteArray bytes = writeLocalFile("a.jpg");
    const auto connection = connect();
    QVERIFY(connection);
    QVERIFY(connection->SetCurrentDirectory("locked"));
    QVERIFY(!connection->PutFile(m_local.filePath("a.jpg"), "a.jpg"));
    QVERIFY(!QFile::exists(m_server->homePath("locked/a.jpg")));
    QVERIFY(connection->SetCurrentDirectory("../open"));
    QVERIFY(!connection->PutFile(m_local.filePath("never-written.jpg"), "b.jpg"));
    QVERIFY(!connection->PutFile(m_local.path(), "c.jpg"));
    QVERIFY(connection->PutFile(m_local.filePath("a.jpg"), "a.jpg"));
    QCOMPARE(remoteFile("open/a.jpg"), bytes);
}

void FtpConnectionTest::refusesToConnect_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("userName");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("closedPort");

    // clang-format off
    QTest::newRow("closed port") << "127.0.0.1" << "site" << "s3cret pass" << true;
    QTest::newRow("wrong password") << "127.0.0.1" << "site" << "wrong" << false;
    QTest::newRow("unknown user") << "127.0.0.1" << "nobody" << "s3cret pass" << false;
    QTest::newRow("no server name") << "" << "site" << "s3cret pass" << false;
    QTest::newRow("server name with a path") << "127.0.0.1/x" << "site" << "s3cret pass" << false;
    QTest::newRow("line break in the password")
        << "127.0.0.1" << "site" << "s3cret pass\r\nDELE x" << false;
    // clang-format on
}

void FtpConnectionTest::refusesToConnect()
{
    QFETCH(QString, server);
    QFETCH(QString, userName);
    QFETCH(QString, password);
    QFETCH(bool, closedPort);
    const quint16 port = m_server->port();
    if (closedPort)
        m_server.reset();
    FtpSession session;
    QVERIFY(!session.GetFtpConnection(server, userName, password, port, true));
}

void FtpConnectionTest::sendsEmptyLoginAsItStands()
{
    FtpSession session;
    session.GetFtpConnection("127.0.0.1", "", "", m_server->port(), true);
    const QString log = m_server->commandLog();
    QVERIFY2(log.contains(QRegularExpression("<- USER\\s*$", QRegularExpression::MultilineOption)),
             qPrintable(log));
    QVERIFY(!log.contains("anonymous"));
}

void FtpConnectionTest::connectionOutlivesItsSession()
{
    const QByteArray bytes = writeLocalFile("a.jpg");
    auto session = std::make_unique<FtpSession>();
    const auto connection = session->GetFtpConnection("127.0.0.1", m_account.userName,
                                                      m_account.password, m_server->port(), true);
    QVERIFY(connection);
    session->Close();
    session.reset();
    QVERIFY(connection->SetCurrentDirectory("images"));
    QVERIFY(connection->PutFile(m_local.filePath("a.jpg"), "a.jpg"));
    QCOMPARE(remoteFile("images/a.jpg"), bytes);
}

void FtpConnectionTest::closedSessionOpensNoConnection()
{
    FtpSession session;
    session.Close();
    QVERIFY(!session.GetFtpConnection("127.0.0.1", m_account.userName, m_account.password,
                                      m_server->port(), true));
}

QTEST_GUILESS_MAIN(FtpConnectionTest)
#include "tst_ftpconnection.moc"
