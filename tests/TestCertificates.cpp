#include "TestCertificates.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>

#include <optional>

namespace {

const QString localHosts = QStringLiteral("subjectAltName=IP:127.0.0.1,DNS:localhost");

// What openssl wrote, or none when it failed.
std::optional<QByteArray> openssl(const QStringList& arguments, const QByteArray& input = {})
{
    QProcess process;
    process.start(QStringLiteral("openssl"), arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

QStringList newKey(const QString& keyFile)
{
    return {"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes", "-keyout", keyFile};
}

// Certificate and key in one file, as the server reads them.
bool bundle(const QString& certificate, const QString& key, const QString& target)
{
    QFile in1(certificate), in2(key), out(target);
    if (!in1.open(QIODevice::ReadOnly) || !in2.open(QIODevice::ReadOnly) ||
        !out.open(QIODevice::WriteOnly))
        return false;
    return out.write(in1.readAll() + in2.readAll()) > 0;
}

} // namespace

bool TestCertificates::make()
{
    return m_dir.isValid() &&
           openssl(QStringList{"req", "-x509"} + newKey(path("authority.key")) +
                   QStringList{"-subj", "/CN=Morvane Test Authority", "-days", "2", "-out",
                               authority()})
               .has_value() &&
           sign("server", localHosts) && sign("other-name", "subjectAltName=DNS:other.example") &&
           selfSign("self-signed") && selfSign("replacement");
}

QString TestCertificates::fingerprint(const QString& certificateFile)
{
    const auto publicKey = openssl({"x509", "-in", certificateFile, "-noout", "-pubkey"});
    const auto der = openssl({"pkey", "-pubin", "-outform", "DER"}, publicKey.value_or(""));
    if (!der || der->isEmpty())
        return {};
    return QString::fromLatin1(
        QCryptographicHash::hash(*der, QCryptographicHash::Sha256).toHex(':'));
}

bool TestCertificates::selfSign(const char* name)
{
    const QString stem = path(name);
    return openssl(QStringList{"req", "-x509"} + newKey(stem + ".key") +
                   QStringList{"-subj", "/CN=localhost", "-addext", localHosts, "-days", "2",
                               "-out", stem + ".crt"})
               .has_value() &&
           bundle(stem + ".crt", stem + ".key", stem + ".pem");
}

bool TestCertificates::sign(const char* name, const QString& hosts)
{
    const QString stem = path(name);
    return openssl(QStringList{"req", "-new"} + newKey(stem + ".key") +
                   QStringList{"-subj", "/CN=localhost", "-addext", hosts, "-out", stem + ".csr"})
               .has_value() &&
           openssl({"x509", "-req", "-in", stem + ".csr", "-CA", authority(), "-CAkey",
                    path("authority.key"), "-CAcreateserial", "-days", "2", "-copy_extensions",
                    "copy", "-out", stem + ".crt"})
               .has_value() &&
           bundle(stem + ".crt", stem + ".key", stem + ".pem");
}
