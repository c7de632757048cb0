#pragma once

#include "upload/FtpConnection.h"
#include "upload/ServerKey.h"

#include <QString>

#include <memory>
#include <optional>

// Why a connection was not opened.
enum class ConnectFailure
{
    None,
    InvalidServer,      // no server name, or one that makes no host
    LineBreak,          // in the user name or password, where it would end an FTP command
    PortOutOfRange,     // not 0..65535
    UnknownSecurity,    // a Security value this program does not know
    InvalidFingerprint, // TrustedFingerprint that is not a SHA-256 in hex
    OptionRefused,      // the network library did not take an option; nothing was sent
    HostNotFound,
    Refused,
    TimedOut,
    LoginIncorrect,
    TlsNotOffered, // FTP over TLS was required and the server offers none
    UntrustedKey,  // a certificate that does not verify, or an SSH host key not known yet
    ChangedKey,    // not the key the user trusted
    SecureChannel, // TLS or SSH could not be set up
    Other,         // the network library's own words are in detail
};

// The outcome of opening a connection: the connection, or why there is none.
struct FtpConnectResult
{
    std::unique_ptr<FtpConnection> connection;
    ConnectFailure failure = ConnectFailure::None;
    // The key the server presented, with UntrustedKey and ChangedKey when it was seen.
    std::optional<ServerKey> serverKey;
    // With ChangedKey: the fingerprint the settings trust.
    QString trustedFingerprint;
    // With Other: what the network library said. It never holds the password.
    QString detail;
    // FTP over TLS was asked for if the server offers it, and it offers none: this
    // connection is plain FTP.
    bool tlsDeclined = false;

    static FtpConnectResult failed(ConnectFailure failure, QString detail = {});

    // The reason for the failure as a paragraph for the user; empty after success.
    QString reason() const;
};
