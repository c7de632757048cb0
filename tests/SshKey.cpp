#include "SshKey.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>

namespace SshKey {

bool generate(const QString& privateFile, const QString& type)
{
    QFile::remove(privateFile);
    QFile::remove(privateFile + ".pub");
    return QProcess::execute(QStringLiteral("ssh-keygen"), {"-q", "-t", type, "-N", "", "-C",
                                                            "morvane-test", "-f", privateFile}) ==
           0;
}

QString fingerprint(const QString& publicFile)
{
    // "type base64-blob comment": the fingerprint is the hash of the blob.
    QFile file(publicFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> fields = file.readAll().trimmed().split(' ');
    if (fields.size() < 2)
        return {};
    const QByteArray blob = QByteArray::fromBase64(fields[1]);
    return QString::fromLatin1(
        QCryptographicHash::hash(blob, QCryptographicHash::Sha256).toHex(':'));
}

} // namespace SshKey
