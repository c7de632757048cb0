#include "SftpServer.h"

#include "SshKey.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QStandardPaths>

QString SftpServer::unavailableReason()
{
    if (!QFile::exists(ScriptServer::python))
        return QStringLiteral("no /usr/bin/python3 for the SFTP test server");
    if (QProcess::execute(ScriptServer::python, {"-W", "ignore", "-c", "import asyncssh"}) != 0)
        return QStringLiteral("asyncssh (python3-asyncssh) is not installed");
    if (QStandardPaths::findExecutable(QStringLiteral("ssh-keygen")).isEmpty())
        return QStringLiteral("ssh-keygen (openssh-client) is not installed");
    return {};
}

bool SftpServer::start(const Account& account, const QStringList& directories)
{
    for (const QString& directory : directories) {
        if (!QDir(m_home.path()).mkpath(directory))
            return false;
    }
    if (!SshKey::generate(m_work.filePath("host_key")))
        return false;
    const QJsonObject config{{"home", m_home.path()},
                             {"user", account.userName},
                             {"password", account.password},
                             {"hostKey", m_work.filePath("host_key")},
                             {"log", m_work.filePath("server.log")}};
    m_port =
        m_server.start({"-W", "ignore", QStringLiteral(MORVANE_SFTP_SERVER_SCRIPT)}, config, 20000);
    return m_port != 0;
}

QString SftpServer::homePath(const QString& relative) const
{
    return relative.isEmpty() ? m_home.path() : m_home.filePath(relative);
}

QString SftpServer::hostKeyFingerprint() const
{
    return SshKey::fingerprint(m_work.filePath("host_key.pub"));
}

QString SftpServer::log() const
{
    QFile log(m_work.filePath("server.log"));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}
