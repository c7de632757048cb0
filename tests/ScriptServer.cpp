#include "ScriptServer.h"

#include <QDeadlineTimer>
#include <QJsonDocument>

const QString ScriptServer::python = QStringLiteral("/usr/bin/python3");

ScriptServer::~ScriptServer()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

quint16 ScriptServer::start(const QStringList& arguments, const QJsonObject& config, int timeoutMs)
{
    m_process.start(python, arguments);
    if (!m_process.waitForStarted(5000))
        return 0;
    m_process.write(QJsonDocument(config).toJson(QJsonDocument::Compact) + '\n');
    m_process.closeWriteChannel();

    const QDeadlineTimer deadline(timeoutMs);
    while (!m_process.canReadLine()) {
        if (deadline.hasExpired() || m_process.state() != QProcess::Running)
            return 0;
        m_process.waitForReadyRead(100);
    }
    return m_process.readLine().trimmed().toUShort();
}
