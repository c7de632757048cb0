#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

// Skips the test where the server's package is missing. Where the build found it, as in CI,
// a server that cannot run is a failure instead.
#define REQUIRE_FTP_SERVER()                                                                       \
    do {                                                                                           \
        if (const QString reason = FtpServer::unavailableReason(); !reason.isEmpty()) {            \
            if (MORVANE_FTP_SERVER_REQUIRED)                                                       \
                QFAIL(qPrintable(reason));                                                         \
            QSKIP(qPrintable(reason));                                                             \
        }                                                                                          \
    } while (false)

// A local FTP server for one test: pyftpdlib on 127.0.0.1 at a free port, serving a
// temporary home directory. The password reaches it on standard input, never on its
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

    ~FtpServer();

    // Why a server cannot run here, or empty when it can.
    static QString unavailableReason();

    // Creates the home's directories first; false when the server did not come up.
    bool start(const Account& account, const QStringList& directories = {});
    quint16 port() const { return m_port; }
    QString homePath(const QString& relative = {}) const;
    // The commands the server received, passwords masked.
    QString commandLog() const;

private:
    QTemporaryDir m_home;
    QTemporaryDir m_work;
    QProcess m_process;
    quint16 m_port = 0;
};
