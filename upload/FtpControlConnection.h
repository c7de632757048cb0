#pragma once

#include "upload/CurlConnection.h"
#include "upload/FtpConnectResult.h"
#include "upload/Security.h"
#include "upload/TlsPeerCapture.h"

#include <QByteArray>

struct FtpLogin;
struct FtpOptions;

// An FTP control connection, plain or protected by TLS (explicit, AUTH TLS, data connections
// protected too). Its current directory is the server's: directory names are sent as they
// stand, and the server resolves them.
class FtpControlConnection : public CurlConnection
{
public:
    // Logs in. With TLS the certificate must verify against the trusted authorities and
    // name the server, or be the one whose key the login trusts.
    static FtpConnectResult open(const FtpLogin& login, Security security,
                                 const FtpOptions& options);

    bool SetCurrentDirectory(const QString& directory) override;
    bool CreateDirectory(const QString& directory) override;
    std::optional<RemoteListing> ListDirectory() override;
    TransferResult PutFile(const QString& localPath, const QString& remoteName) override;
    std::optional<qint64> FileSize(const QString& remoteName) override;
    bool RenameFile(const QString& from, const QString& to) override;
    bool RemoveFile(const QString& remoteName) override;

private:
    explicit FtpControlConnection(std::string root) : CurlConnection(std::move(root)) {}

    FtpConnectResult logIn(const FtpLogin& login, Security security, const FtpOptions& options);
    void setUpTls(CurlSetup& setup, const FtpLogin& login, Security security,
                  const FtpOptions& options);

    // What commands are sent with: a request for the top, which changes no directory.
    std::string commandUrl() const { return root() + "%2F"; }

    TlsPeerCapture m_tls;
};
