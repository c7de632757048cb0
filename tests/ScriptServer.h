#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QStringList>

// A test server written in Python, run with Debian's own interpreter (the python3 first on
// PATH may not see Debian's packages). It reads its set-up as one JSON line on standard input,
// so a password never shows on a command line, and prints its port once it listens.
class ScriptServer
{
public:
    static const QString python;

    ScriptServer() = default;
    ~ScriptServer();
    ScriptServer(const ScriptServer&) = delete;
    ScriptServer& operator=(const ScriptServer&) = delete;

    // The port it listens on, or 0 when it did not come up within timeoutMs.
    quint16 start(const QStringList& arguments, const QJsonObject& config, int timeoutMs);

private:
    QProcess m_process;
};
