#pragma once

#include "TestPeer.h"

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#define REQUIRE_SSH_SERVER()                                                                       \
    REQUIRE_PEER(SshServer::unavailableReason(), MORVANE_SSH_SERVER_REQUIRED)

// A local sshd for one test, taking public-key logins only: run unprivileged on 127.0.0.1 at
// a free port, with a host key of its own and one authorized client key, its SFTP starting in
// a temporary home. An unprivileged sshd logs in only the user it runs as: the one running the
// test, or "nobody" when the test runs as root.
class SshServer
{
public:
    ~SshServer();

    // Why the server cannot run here, or empty when it can.
    static QString unavailableReason();

    // Creates the home's directories first; false when the server did not come up.
    bool start(const QString& authorizedPublicKey, const QStringList& directories = {});
    quint16 port() const { return m_port; }
    QString userName() const { return m_userName; }
    // The SFTP login directory, an absolute path.
    QString homePath(const QString& relative = {}) const;
    QString hostKeyFingerprint() const;
    // What sshd logged so far.
    QString log();
    // Whether a client got as far as logging in, successfully or not.
    bool sawLogin();

private:
    bool writeConfig(const QString& authorizedPublicKey, quint16 port);
    bool handOverToServerUser();

    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    QString m_userName;
    QByteArray m_log;
};
