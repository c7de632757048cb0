#include "FtpServer.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QStandardPaths>

QString FtpServer::unavailableReason()
{
    if (!QFile::exists(ScriptServer::python))
        return QStringLiteral("no /usr/bin/python3 for the FTP test server");
    if (QProcess::execute(ScriptServer::python, {"-c", "import pyftpdlib"}) != 0)
        return QStringLiteral("pyftpdlib (python3-pyftpdlib) is not installed");
    return {};
}

QString FtpServer::tlsUnavailableReason()
{
    if (QString reason = unavailableReason(); !reason.isEmpty())
        return reason;
    if (QProcess::execute(ScriptServer::python, {"-c", "import OpenSSL"}) != 0)
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
    if (behaviour.readLimit > 0)
        config.insert("readLimit", behaviour.readLimit);
    if (!behaviour.dropOn.isEmpty()) {
        config.insert("dropOn", QJsonArray::fromStringList(behaviour.dropOn));
        config.insert("dropTimes", behaviour.dropTimes);
    }
    if (!behaviour.shortOn.isEmpty())
        config.insert("shortOn", QJsonArray::fromStringList(behaviour.shortOn));
    if (behaviour.replyDelay > 0)
        config.insert("replyDelay", behaviour.replyDelay);
    if (behaviour.dataDelay > 0)
        config.insert("dataDelay", behaviour.dataDelay);
    if (behaviour.noMlsd)
        config.insert("noMlsd", true);
    m_account = account;
    m_port = m_server.start({QStringLiteral(MORVANE_FTP_SERVER_SCRIPT)}, config, 10000);
    return m_port != 0;
}

FtpSettings FtpServer::settings() const
{
    FtpSettings settings;
    settings.Server = QStringLiteral("127.0.0.1");
    settings.Port = m_port;
    if (!m_account.anonymous) {
        settings.UserName = m_account.userName;
        settings.Password = m_account.password;
    }
    settings.Passive = 1;
    return settings;
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
