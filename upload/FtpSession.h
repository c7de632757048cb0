#pragma once

#include "upload/FtpConnectResult.h"
#include "upload/FtpLogin.h"
#include "upload/FtpOptions.h"

#include <atomic>
#include <mutex>
#include <optional>

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
    // One more connection with the login GetFtpConnection last succeeded with, the key trusted
    // then included; nobody is asked about a key. Fails before any success. Safe to call from
    // several threads at once.
    FtpConnectResult OpenAnother();
    // After closing, the session opens no more connections; those it made stay open.
    void Close() { m_closed = true; }

private:
    FtpConnectResult open(const FtpLogin& login);
    void remember(const FtpLogin& login);
    // The connection of the login's kind.
    FtpConnectResult openBySecurity(const FtpLogin& login);

    FtpOptions m_options;
    std::atomic<bool> m_closed = false;
    std::mutex m_mutex; // guards m_working
    std::optional<FtpLogin> m_working;
};
