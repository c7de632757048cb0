#include "upload/ServerKey.h"

#include <QCoreApplication>
#include <QRegularExpression>

std::optional<QByteArray> parseFingerprint(const QString& text)
{
    static const QRegularExpression hexPairs(
        QStringLiteral("^[0-9A-Fa-f]{2}(:?[0-9A-Fa-f]{2}){31}$"));
    if (!hexPairs.match(text).hasMatch())
        return std::nullopt;
    return QByteArray::fromHex(text.toLatin1());
}

QString ServerKey::fingerprint() const
{
    return QString::fromLatin1(sha256.toHex(':'));
}

QString ServerKey::untrustedReason() const
{
    return kind == Kind::Certificate
               ? QCoreApplication::translate("ServerKey",
                                             "The server's certificate is not trusted.")
               : QCoreApplication::translate("ServerKey",
                                             "The server's host key is not known yet.");
}

QString ServerKey::description() const
{
    if (kind == Kind::Certificate) {
        return QCoreApplication::translate("ServerKey",
                                           "Subject: %1\nIssuer: %2\nValid from %3 to %4\n"
                                           "SHA-256 fingerprint of its key:\n%5")
            .arg(subject, issuer, validFrom.toString(Qt::ISODate), validUntil.toString(Qt::ISODate),
                 fingerprint());
    }
    // OpenSSH names the same key by the Base64 of the same hash; users compare with that.
    const QByteArray openSsh =
        sha256.toBase64(QByteArray::Base64Encoding | QByteArray::OmitTrailingEquals);
    return QCoreApplication::translate(
               "ServerKey",
               "Key type: %1\nSHA-256 fingerprint:\n%2\n(OpenSSH shows it as SHA256:%3)")
        .arg(keyType, fingerprint(), QString::fromLatin1(openSsh));
}
