#pragma once

#include "ScriptServer.h"
#include "TestPeer.h"

#include "settings/FtpSettings.h"

#include <QStringList>
#include <QTemporaryDir>

#define REQUIRE_FTP_SERVER()                                                                       \
    REQUIRE_PEER(FtpServer::unavailableReason(), MORVANE_FTP_SERVER_REQUIRED)

// A local FTP server for one test: pyftpdlib on 127.0.0.1 at a free port, serving a
// temporary home directory, plain or with TLS that requires data connections to resume the
// control connection's session. The password reaches it on standard input, never on its
// command line.
class FtpServer
{
public:
    struct Account
    {
        QString userName = QStringLiteral("site");
        QString password = QStringLiteral("s3cret pass");
        bool anonymous = false;
        QStringList readOnly; // directories under the home that refuse new files
    };

    // How the server behaves beyond plain FTP.
    struct Behaviour
    {
        QString tlsCertificate; // PEM file with certificate and key; empty for plain FTP
        bool tlsRequired = false;
        // Names of files (wildcards allowed) whose STOR is accepted and never answered.
        QStringList stallOn;
        // Bytes a second each upload may bring; 0 for no limit.
        int readLimit = 0;
        // Names of files (wildcards allowed) whose upload drops the connection midway, the
        // first dropTimes times.
        QStringList dropOn;
        int dropTimes = 1;
        // Names of files whose upload is cut to half and still answered as complete.
        QStringList shortOn;
        // Seconds every reply and every data connection waits, as over a long line.
        double replyDelay = 0;
        double dataDelay = 0;
        // Offers LIST only, as older servers do.
        bool noMlsd = false;
    };

    // Why a server cannot run here, or empty when it can.
    static QString unavailableReason();
    static QString tlsUnavailableReason();

    // Creates the home's directories first; false when the server did not come up.
    bool start(const Account& account, const QStringList& directories = {});
    bool start(const Account& account, const QStringList& directories, const Behaviour& behaviour);
    quint16 port() const { return m_port; }
    // Plain FTP, passive, to this server with the account it was started with.
    FtpSettings settings() const;
    QString homePath(const QString& relative = {}) const;
    // The commands the server received, passwords masked.
    QString commandLog() const;

private:
    QTemporaryDir m_home;
    QTemporaryDir m_work;
    ScriptServer m_server;
    Account m_account;
    quint16 m_port = 0;
};
