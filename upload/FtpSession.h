#pragma once

#include "upload/FtpConnectResult.h"
#include "upload/FtpOptions.h"

struct FtpLogin;
class ServerTrust;

// Opens connections with the program's time-outs. The connections it makes live on their
// own: they may outlive it and be released in either order.
class FtpSession
{
public:
    explicit FtpSession(FtpOptions options = {}) : m_options(std::move(options)) {}

    // Logs in with the login's security. A server key not trusted yet is put to trust; when
    // it is trusted, the login is tried once more with exactly that key. Fails when the
    // session is closed.
    FtpConnectResult GetFtpConnection(const FtpLogin& login, ServerTrust& trust);
    // After closing, the session opens no more connections; those it made stay open.
    void Close() { m_closed = true; }

private:
    FtpConnectResult open(const FtpLogin& login);
    // The connection of the login's kind.
    FtpConnectResult openBySecurity(const FtpLogin& login);

    FtpOptions m_options;
    bool m_closed = false;
};
