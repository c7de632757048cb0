#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

#include <optional>

// The key a server presented, described for the person who decides whether to trust it.
// TLS servers present a certificate, SSH servers a host key; either is trusted by the
// SHA-256 of its public key.
struct ServerKey
{
    enum class Kind
    {
        Certificate,
        HostKey
    };

    Kind kind = Kind::Certificate;
    QByteArray sha256; // of the certificate's public key, or of the SSH host key
    // Certificates only.
    QString subject;
    QString issuer;
    QDate validFrom;
    QDate validUntil;
    // Host keys only, such as ssh-ed25519.
    QString keyType;

    // Lowercase hex with colons, as TrustedFingerprint holds it.
    QString fingerprint() const;
    // Why the key stops the connection, in one sentence.
    QString untrustedReason() const;
    // What the user needs to recognise the key, one item per line.
    QString description() const;
};

// The 32 bytes of a fingerprint written as hex, with or without colons, in either case;
// none when the text is anything else.
std::optional<QByteArray> parseFingerprint(const QString& text);
