#include "upload/FtpConnectResult.h"

#include <QCoreApplication>

FtpConnectResult FtpConnectResult::failed(ConnectFailure failure, QString detail)
{
    FtpConnectResult result;
    result.failure = failure;
    result.detail = std::move(detail);
    return result;
}

QString FtpConnectResult::reason() const
{
    switch (failure) {
    case ConnectFailure::None:
        return {};
    case ConnectFailure::InvalidServer:
        return QCoreApplication::translate("FtpConnectResult", "The server name is not valid.");
    case ConnectFailure::LineBreak:
        return QCoreApplication::translate("FtpConnectResult",
                                           "The user name or the password holds a line break.");
    case ConnectFailure::PortOutOfRange:
        return QCoreApplication::translate("FtpConnectResult",
                                           "The port must be between 0 and 65535.");
    case ConnectFailure::UnknownSecurity:
        return QCoreApplication::translate("FtpConnectResult",
                                           "The security setting is not one this program knows.");
    case ConnectFailure::InvalidFingerprint:
        return QCoreApplication::translate(
            "FtpConnectResult", "The trusted fingerprint in the settings is not a SHA-256 "
                                "fingerprint.");
    case ConnectFailure::OptionRefused:
        return QCoreApplication::translate(
            "FtpConnectResult", "The network library refused a setting, so nothing was sent.");
    case ConnectFailure::HostNotFound:
        return QCoreApplication::translate("FtpConnectResult", "Host not found.");
    case ConnectFailure::Refused:
        return QCoreApplication::translate("FtpConnectResult",
                                           "The server refused the connection.");
    case ConnectFailure::TimedOut:
        return QCoreApplication::translate("FtpConnectResult", "Connection timed out.");
    case ConnectFailure::LoginIncorrect:
        return QCoreApplication::translate("FtpConnectResult", "Login incorrect.");
    case ConnectFailure::TlsNotOffered:
        return QCoreApplication::translate(
            "FtpConnectResult", "The server does not offer FTP over TLS, so nothing was sent.");
    case ConnectFailure::UntrustedKey:
        return serverKey ? serverKey->untrustedReason()
                         : QCoreApplication::translate("FtpConnectResult",
                                                       "The server's key is not trusted.");
    case ConnectFailure::ChangedKey:
        return QCoreApplication::translate(
                   "FtpConnectResult",
                   "The server's key has changed since you chose to trust it. "
                   "Another server may be posing as yours, so nothing was sent.\n"
                   "Trusted key: %1\nKey presented now: %2")
            .arg(trustedFingerprint,
                 serverKey ? serverKey->fingerprint()
                           : QCoreApplication::translate("FtpConnectResult", "(not seen)"));
    case ConnectFailure::SecureChannel:
        return QCoreApplication::translate("FtpConnectResult",
                                           "The secure connection could not be set up.");
    case ConnectFailure::Other:
        return detail + u'.';
    }
    Q_UNREACHABLE();
}
