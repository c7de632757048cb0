#pragma once

#include "ScriptServer.h"
#include "TestPeer.h"

#include <QStringList>
#include <QTemporaryDir>

#define REQUIRE_SFTP_SERVER()                                                                      \
    REQUIRE_PEER(SftpServer::unavailableReason(), MORVANE_SFTP_SERVER_REQUIRED)

// A local SFTP server with password logins for one test: asyncssh on 127.0.0.1 at a free
// port with a host key of its own, serving a temporary home directory as "/". The password
// reaches it on standard input, never on its command line.
class SftpServer
{
public:
    struct Account
    {
        QString userName = QStringLiteral("site");
        QString password = QStringLiteral("s3cret pass");
    };

    // Why the server cannot run here, or empty when it can.
    static QString unavailableReason();

    // Creates the home's directories first; false when the server did not come up.
    bool start(const Account& account, const QStringList& directories = {});
    quint16 port() const { return m_port; }
    QString homePath(const QString& relative = {}) const;
    QString hostKeyFingerprint() const;
    // What the server noted: connections, and each login as accepted or refused.
    QString log() const;

private:
    QTemporaryDir m_home;
    QTemporaryDir m_work;
    ScriptServer m_server;
    quint16 m_port = 0;
};
