#include "SftpServer.h"

#include "SshKey.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

namespace {

const QString python = QStringLiteral("/usr/bin/python3");

} // namespace

SftpServer::~SftpServer()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QString SftpServer::unavailableReason()
{
    if (!QFile::exists(python))
        return QStringLiteral("no /usr/bin/python3 for the SFTP test server");
    if (QProcess::execute(python, {"-W", "ignore", "-c", "import asyncssh"}) != 0)
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
    m_process.start(python, {"-W", "ignore", QStringLiteral(MORVANE_SFTP_SERVER_SCRIPT)});
    if (!m_process.waitForStarted(5000))
        return false;
    m_process.write(QJsonDocument(config).toJson(QJsonDocument::Compact) + '\n');
    m_process.closeWriteChannel();

    // The script prints its port once it is listening.
    const QDeadlineTimer deadline(20000);
    while (!m_process.canReadLine()) {
        if (deadline.hasExpired() || m_process.state() != QProcess::Running)
            return false;
        m_process.waitForReadyRead(100);
    }
    m_port = m_process.readLine().trimmed().toUShort();
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
