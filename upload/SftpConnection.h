#pragma once

#include "upload/CurlConnection.h"
#include "upload/FtpConnectResult.h"

#include <QByteArray>

struct FtpLogin;
struct FtpOptions;

// An SFTP connection. SFTP has no current directory, so this connection keeps one of its
// own, absolute, starting at the login directory, and resolves directory names against it as
// an FTP server would.
class SftpConnection : public CurlConnection
{
public:
    // Logs in with the password, or without one with the user's SSH agent or key files
    // (~/.ssh/id_ed25519, then ~/.ssh/id_rsa). The host key must be the one the login
    // trusts; a server not known yet is refused before anything is sent, with its key.
    static FtpConnectResult open(const FtpLogin& login, const FtpOptions& options);

    bool SetCurrentDirectory(const QString& directory) override;
    bool CreateDirectory(const QString& directory) override;
    std::optional<RemoteListing> ListDirectory() override;
    TransferResult PutFile(const QString& localPath, const QString& remoteName) override;
    std::optional<qint64> FileSize(const QString& remoteName) override;
    bool RenameFile(const QString& from, const QString& to) override;
    bool RemoveFile(const QString& remoteName) override;

private:
    explicit SftpConnection(std::string root) : CurlConnection(std::move(root)) {}

    // One login attempt, with the private key file to offer when there is no password.
    FtpConnectResult logIn(const FtpLogin& login, const FtpOptions& options,
                           const QString& keyFile);
    std::string urlOf(const QByteArray& path) const;
    // The URL of a directory, which ends in "/"; commands go with the current one's, and
    // name their paths quoted (see quoted).
    std::string directoryUrl(const QByteArray& path) const;
    // A path as the commands take it: in quotes, with its quotes and backslashes escaped.
    static QByteArray quoted(const QByteArray& path);
    static int onHostKey(void* self, int type, const char* key, size_t length);

    QByteArray m_hostKey; // the server's host key, when it was not yet trusted
};
