#include "upload/UploadRecord.h"

#include "base/LocalPath.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>

namespace {

// Names and folders are written as their bytes percent-encoded: JSON holds only valid
// Unicode, and a remote name need not be.
QString encoded(const QString& name)
{
    return QString::fromLatin1(pathToLocal(name).toPercentEncoding());
}

QString decoded(const QString& text)
{
    return pathFromLocal(QByteArray::fromPercentEncoding(text.toLatin1()));
}

// A record file far larger than any site's would need is taken as damaged, not read.
constexpr qint64 largestRecord = 64 * 1024 * 1024;

} // namespace

UploadRecord UploadRecord::load(const QString& folder, const QString& server, int port,
                                const QString& userName)
{
    UploadRecord record;
    record.m_server = server;
    record.m_port = port;
    record.m_userName = userName;
    // One file per server and user; its name only has to be stable and safe.
    const QByteArray key =
        (server.toLower() + u'\n' + QString::number(port) + u'\n' + userName).toUtf8();
    const QString name = QString::fromLatin1(
        QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(32));
    record.m_path = QDir(folder).filePath(QStringLiteral("uploads/%1.json").arg(name));

    QFile file(record.m_path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > largestRecord)
        return record;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    const QJsonObject top = document.object();
    // Another server's record under the same name would be a hash collision; never mix them.
    // Host names are the same in any case.
    if (top.value(QLatin1String("server")).toString().compare(server, Qt::CaseInsensitive) != 0 ||
        top.value(QLatin1String("port")).toInt(-1) != port ||
        top.value(QLatin1String("user")).toString() != userName)
        return record;
    const QJsonObject folders = top.value(QLatin1String("folders")).toObject();
    for (auto folderIt = folders.begin(); folderIt != folders.end(); ++folderIt) {
        QHash<QString, Entry>& files = record.m_folders[decoded(folderIt.key())];
        const QJsonObject entries = folderIt.value().toObject();
        for (auto it = entries.begin(); it != entries.end(); ++it) {
            const QJsonObject fields = it.value().toObject();
            const QByteArray sha256 =
                QByteArray::fromHex(fields.value(QLatin1String("sha256")).toString().toLatin1());
            const double size = fields.value(QLatin1String("size")).toDouble(-1);
            // An entry that does not hold a whole size and a whole hash says nothing.
            if (sha256.size() != 32 || size < 0 || size != qint64(size))
                continue;
            files.insert(decoded(it.key()), Entry{qint64(size), sha256});
        }
    }
    return record;
}

std::optional<UploadRecord::Entry> UploadRecord::entry(const QString& remoteDir,
                                                       const QString& name) const
{
    const auto folder = m_folders.constFind(remoteDir);
    if (folder == m_folders.cend())
        return std::nullopt;
    const auto found = folder->constFind(name);
    if (found == folder->cend())
        return std::nullopt;
    return *found;
}

QStringList UploadRecord::names(const QString& remoteDir) const
{
    QStringList names = m_folders.value(remoteDir).keys();
    std::sort(names.begin(), names.end());
    return names;
}

void UploadRecord::set(const QString& remoteDir, const QString& name, const Entry& entry)
{
    QHash<QString, Entry>& files = m_folders[remoteDir];
    const auto found = files.constFind(name);
    if (found != files.cend() && *found == entry)
        return;
    files.insert(name, entry);
    m_changed = true;
}

void UploadRecord::forget(const QString& remoteDir, const QString& name)
{
    const auto folder = m_folders.find(remoteDir);
    if (folder == m_folders.end() || folder->remove(name) == 0)
        return;
    if (folder->isEmpty())
        m_folders.erase(folder);
    m_changed = true;
}

bool UploadRecord::save()
{
    QJsonObject folders;
    for (auto folder = m_folders.cbegin(); folder != m_folders.cend(); ++folder) {
        QJsonObject files;
        for (auto it = folder->cbegin(); it != folder->cend(); ++it)
            files.insert(encoded(it.key()), QJsonObject{{QLatin1String("size"), double(it->size)},
                                                        {QLatin1String("sha256"),
                                                         QString::fromLatin1(it->sha256.toHex())}});
        folders.insert(encoded(folder.key()), files);
    }
    const QJsonObject top{{QLatin1String("server"), m_server},
                          {QLatin1String("port"), m_port},
                          {QLatin1String("user"), m_userName},
                          {QLatin1String("folders"), folders}};
    if (!QDir().mkpath(QFileInfo(m_path).path()))
        return false;
    const bool existed = QFile::exists(m_path);
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // It names the user's server and account: nobody else's business.
    if (!existed)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(QJsonDocument(top).toJson(QJsonDocument::Indented));
    if (!file.commit())
        return false;
    m_changed = false;
    return true;
}
