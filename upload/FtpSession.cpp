#include "upload/FtpSession.h"

#include "upload/FtpControlConnection.h"
#include "upload/FtpLogin.h"
#include "upload/Security.h"
#include "upload/ServerTrust.h"
#include "upload/SftpConnection.h"

#include <QCoreApplication>

FtpConnectResult FtpSession::GetFtpConnection(const FtpLogin& login, ServerTrust& trust)
{
    FtpConnectResult result = open(login);
    if (result.failure == ConnectFailure::None)
        remember(login);
    if (result.failure != ConnectFailure::UntrustedKey || !result.serverKey ||
        !trust.trustServer(*result.serverKey))
        return result;
    FtpLogin trusting = login;
    trusting.trustedFingerprint = result.serverKey->fingerprint();
    result = open(trusting);
    if (result.failure == ConnectFailure::None)
        remember(trusting);
    return result;
}

FtpConnectResult FtpSession::OpenAnother()
{
    std::optional<FtpLogin> login;
    {
        const std::lock_guard lock(m_mutex);
        login = m_working;
    }
    if (!login)
        return FtpConnectResult::failed(
            ConnectFailure::Other,
            QCoreApplication::translate("FtpSession", "No connection was made yet"));
    return open(*login);
}

void FtpSession::remember(const FtpLogin& login)
{
    const std::lock_guard lock(m_mutex);
    m_working = login;
}

FtpConnectResult FtpSession::open(const FtpLogin& login)
{
    if (m_closed)
        return FtpConnectResult::failed(
            ConnectFailure::Other,
            QCoreApplication::translate("FtpSession", "The session is closed"));
    // Never the low 16 bits of a larger number: 67837 would quietly reach port 2301.
    if (login.port < 0 || login.port > 65535)
        return FtpConnectResult::failed(ConnectFailure::PortOutOfRange);
    if (!login.trustedFingerprint.isEmpty() && !parseFingerprint(login.trustedFingerprint))
        return FtpConnectResult::failed(ConnectFailure::InvalidFingerprint);
    FtpConnectResult result = openBySecurity(login);
    if (result.failure == ConnectFailure::ChangedKey)
        result.trustedFingerprint = login.trustedFingerprint;
    return result;
}

FtpConnectResult FtpSession::openBySecurity(const FtpLogin& login)
{
    switch (Security(login.security)) {
    case Security::PlainFtp:
    case Security::FtpOverTlsIfOffered:
    case Security::FtpOverTls:
        return FtpControlConnection::open(login, Security(login.security), m_options);
    case Security::Sftp:
        return SftpConnection::open(login, m_options);
    }
    return FtpConnectResult::failed(ConnectFailure::UnknownSecurity);
}
