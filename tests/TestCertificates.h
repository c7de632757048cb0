#pragma once

#include <QString>
#include <QTemporaryDir>

// Certificates for the TLS test server, made by openssl in a temporary folder: a test
// authority, certificates it signed, and a self-signed one. Server files hold certificate
// and key together.
class TestCertificates
{
public:
    // Makes all of them; false when openssl failed.
    bool make();

    // The test authority's certificate, for the connection options' CA file.
    QString authority() const { return path("authority.pem"); }
    // Signed by the authority for 127.0.0.1 and localhost.
    QString server() const { return path("server.pem"); }
    // Signed by the authority for another name.
    QString otherName() const { return path("other-name.pem"); }
    // Signed by no one, for 127.0.0.1 and localhost.
    QString selfSigned() const { return path("self-signed.pem"); }
    // Self-signed too, with a key of its own: the same server after a change of key.
    QString replacement() const { return path("replacement.pem"); }

    // The SHA-256 of the public key of a certificate file, lowercase hex with colons.
    static QString fingerprint(const QString& certificateFile);

private:
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    bool selfSign(const char* name);
    bool sign(const char* name, const QString& hosts);

    QTemporaryDir m_dir;
};
