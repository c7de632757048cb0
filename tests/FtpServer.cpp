#include "FtpServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

namespace {

const QString python = QStringLiteral("/usr/bin/python3");

} // namespace

FtpServer::~FtpServer()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QString FtpServer::unavailableReason()
{
    if (!QFile::exists(python))
        return QStringLiteral("no /usr/bin/python3 for the FTP test server");
    if (QProcess::execute(python, {"-c", "import pyftpdlib"}) != 0)
        return QStringLiteral("pyftpdlib (python3-pyftpdlib) is not installed");
    return {};
}

QString FtpServer::tlsUnavailableReason()
{
    if (QString reason = unavailableReason(); !reason.isEmpty())
        return reason;
    if (QProcess::execute(python, {"-c", "import OpenSSL"}) != 0)
        return QStringLiteral("pyOpenSSL (python3-openssl) is not installed");
    if (QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty())
        return QStringLiteral("openssl is not installed");
    return {};
}

bool FtpServer::start(const Account& account, const QStringList& directories)
{
    return start(account, directories, Behaviour());
}

bool FtpServer::start(const Account& account, const QStringList& directories,
                      const Behaviour& behaviour)
{
    for (const QString& directory : directories) {
        if (!QDir(m_home.path()).mkpath(directory))
            return false;
    }
    QJsonObject config{{"home", m_home.path()},
                       {"readOnly", QJsonArray::fromStringList(account.readOnly)},
                       {"log", m_work.filePath("commands.log")}};
    if (!account.anonymous) {
        config.insert("user", account.userName);
        config.insert("password", account.password);
    }
    if (!behaviour.tlsCertificate.isEmpty())
        config.insert("tls", QJsonObject{{"certfile", behaviour.tlsCertificate},
                                         {"required", behaviour.tlsRequired}});
    if (!behaviour.stallOn.isEmpty())
        config.insert("stallOn", QJsonArray::fromStringList(behaviour.stallOn));
    m_process.start(python, {QStringLiteral(MORVANE_FTP_SERVER_SCRIPT)});
    if (!m_process.waitForStarted(5000))
        return false;
    m_process.write(QJsonDocument(config).toJson(QJsonDocument::Compact) + '\n');
    m_process.closeWriteChannel();

    // The script prints its port once it is listening.
    const QDeadlineTimer deadline(10000);
    while (!m_process.canReadLine()) {
        if (deadline.hasExpired() || m_process.state() != QProcess::Running)
            return false;
        m_process.waitForReadyRead(100);
    }
    m_port = m_process.readLine().trimmed().toUShort();
    return m_port != 0;
}

QString FtpServer::homePath(const QString& relative) const
{
    return relative.isEmpty() ? m_home.path() : m_home.filePath(relative);
}

QString FtpServer::commandLog() const
{
    QFile log(m_work.filePath("commands.log"));
    return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}
