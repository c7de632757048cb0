#pragma once

#include "FtpServer.h"
#include "SftpServer.h"
#include "SshServer.h"
#include "TestCertificates.h"

#include "settings/FtpSettings.h"
#include "upload/FtpOptions.h"

#include <memory>

#define REQUIRE_UPLOAD_PEER(kind)                                                                  \
    REQUIRE_PEER(UploadPeer::unavailableReason(kind), UploadPeer::required(kind))

// One server an upload can go to, started for one test on 127.0.0.1, with the settings and
// options that reach it: plain FTP; FTP over TLS with a certificate of the test authority; SFTP
// with a password; sshd with a key, which the client finds in a home of its own (HOME is
// pointed there while the peer runs).
class UploadPeer
{
public:
    enum class Kind
    {
        Ftp,
        FtpTls,
        Sftp,
        SshKey
    };

    UploadPeer();
    ~UploadPeer();

    // How a test row names the kind of server.
    static const char* name(Kind kind);
    static QString unavailableReason(Kind kind);
    static bool required(Kind kind);

    // Which certificate a TLS server presents (see TestCertificates).
    enum class Certificate
    {
        Server,
        OtherName,
        SelfSigned
    };

    // Creates the home's directories first; false when the server did not come up.
    bool start(Kind kind, const QStringList& directories = {},
               Certificate certificate = Certificate::Server);

    // Server, port, login, passive mode and security. An SSH server's host key is trusted;
    // a TLS server's certificate verifies with options().
    FtpSettings settings() const;
    FtpOptions options() const;
    // The file or directory of the server's home as the client names it from the top ("/...").
    QString remotePath(const QString& relative) const;
    QString homePath(const QString& relative = {}) const;
    // What the server noted of the connections and logins it saw; passwords masked.
    QString serverLog() const;
    // Whether a login of any kind reached the server.
    bool sawLogin() const;
    // The SHA-256 of the key the server presents, as TrustedFingerprint holds it.
    QString keyFingerprint() const;
    // One set for the whole test program: making them takes several runs of openssl.
    static const TestCertificates& certificates();

private:
    Kind m_kind = Kind::Ftp;
    QString m_certificateFile;
    std::unique_ptr<FtpServer> m_ftp;
    std::unique_ptr<SftpServer> m_sftp;
    std::unique_ptr<SshServer> m_ssh;
    QTemporaryDir m_clientHome;
    QByteArray m_oldHome;
};
