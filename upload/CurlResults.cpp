#include "upload/CurlResults.h"

FtpConnectResult loginFailure(CURLcode code)
{
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
        return FtpConnectResult::failed(ConnectFailure::HostNotFound);
    case CURLE_COULDNT_CONNECT:
        return FtpConnectResult::failed(ConnectFailure::Refused);
    case CURLE_OPERATION_TIMEDOUT:
        return FtpConnectResult::failed(ConnectFailure::TimedOut);
    case CURLE_LOGIN_DENIED:
        return FtpConnectResult::failed(ConnectFailure::LoginIncorrect);
    case CURLE_USE_SSL_FAILED:
        return FtpConnectResult::failed(ConnectFailure::TlsNotOffered);
    case CURLE_PEER_FAILED_VERIFICATION:
        return FtpConnectResult::failed(ConnectFailure::UntrustedKey);
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        return FtpConnectResult::failed(ConnectFailure::ChangedKey);
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSH:
        return FtpConnectResult::failed(ConnectFailure::SecureChannel);
    default:
        // libcurl's texts name the kind of failure only, never a login.
        return FtpConnectResult::failed(ConnectFailure::Other,
                                        QString::fromUtf8(curl_easy_strerror(code)));
    }
}

TransferResult transferResult(CURLcode code)
{
    switch (code) {
    case CURLE_OK:
        return TransferResult::Stored;
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_FTP_ACCEPT_TIMEOUT:
        return TransferResult::TimedOut;
    // The connection, or the file's data connection, broke off or never came: a fault of the
    // line rather than a refusal by the server.
    case CURLE_COULDNT_CONNECT:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_FTP_ACCEPT_FAILED:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_SSH:
        return TransferResult::Dropped;
    default:
        return TransferResult::Failed;
    }
}
