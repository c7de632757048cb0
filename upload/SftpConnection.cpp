#include "upload/SftpConnection.h"

#include "base/LocalPath.h"
#include "upload/CurlResults.h"
#include "upload/CurlSetup.h"
#include "upload/FtpLogin.h"
#include "upload/FtpOptions.h"
#include "upload/RemotePath.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QtEndian>

namespace {

// The key files tried in turn when there is no password.
QStringList privateKeyFiles()
{
    QStringList files;
    for (const char* name : {".ssh/id_ed25519", ".ssh/id_rsa"}) {
        const QString path = QDir::home().filePath(QString::fromLatin1(name));
        if (QFileInfo(path).isReadable())
            files << path;
    }
    return files;
}

// An SSH key blob starts with the name of its type.
QString keyType(const QByteArray& blob)
{
    if (blob.size() < 4)
        return {};
    const quint32 length = qFromBigEndian<quint32>(blob.constData());
    if (length > quint32(blob.size() - 4))
        return {};
    return QString::fromLatin1(blob.mid(4, length));
}

ServerKey hostKey(const QByteArray& blob)
{
    ServerKey key;
    key.kind = ServerKey::Kind::HostKey;
    key.sha256 = QCryptographicHash::hash(blob, QCryptographicHash::Sha256);
    key.keyType = keyType(blob);
    return key;
}

} // namespace

FtpConnectResult SftpConnection::open(const FtpLogin& login, const FtpOptions& options)
{
    if (rootUrl("sftp", login.server, login.port).empty())
        return FtpConnectResult::failed(ConnectFailure::InvalidServer);
    QStringList keyFiles;
    if (login.password.isEmpty())
        keyFiles = privateKeyFiles();
    // libcurl offers one key file per login, so each file is a login of its own; the agent
    // is asked every time.
    FtpConnectResult result;
    for (qsizetype attempt = 0; attempt < std::max<qsizetype>(keyFiles.size(), 1); ++attempt) {
        std::unique_ptr<SftpConnection> connection(
            new SftpConnection(rootUrl("sftp", login.server, login.port)));
        result = connection->logIn(login, options, keyFiles.value(attempt));
        if (result.failure == ConnectFailure::None) {
            result.connection = std::move(connection);
            return result;
        }
        if (result.failure != ConnectFailure::LoginIncorrect)
            break;
    }
    return result;
}

FtpConnectResult SftpConnection::logIn(const FtpLogin& login, const FtpOptions& options,
                                       const QString& keyFile)
{
    if (!handle())
        return FtpConnectResult::failed(ConnectFailure::OptionRefused);
    CurlSetup setup(handle());
    setUpHandle(setup, options);
    setup.set(CURLOPT_PROTOCOLS_STR, "sftp")
        .set(CURLOPT_USERNAME, login.userName.toUtf8().constData());
    if (!login.password.isEmpty()) {
        // Keyboard-interactive is how many servers ask for the password.
        setup.set(CURLOPT_SSH_AUTH_TYPES, long(CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD))
            .set(CURLOPT_PASSWORD, login.password.toUtf8().constData());
    } else if (keyFile.isEmpty()) {
        setup.set(CURLOPT_SSH_AUTH_TYPES, long(CURLSSH_AUTH_AGENT));
    } else {
        setup.set(CURLOPT_SSH_AUTH_TYPES, long(CURLSSH_AUTH_PUBLICKEY | CURLSSH_AUTH_AGENT))
            .set(CURLOPT_SSH_PRIVATE_KEYFILE, pathToLocal(keyFile).constData());
    }
    if (login.trustedFingerprint.isEmpty()) {
        // Without a trusted key every host key is refused, and kept to be shown.
        setup.set(CURLOPT_SSH_HOSTKEYFUNCTION, &SftpConnection::onHostKey)
            .set(CURLOPT_SSH_HOSTKEYDATA, static_cast<void*>(this));
    } else {
        // A fingerprint that does not parse pins nothing any server has. libcurl keeps its
        // own copy of the string.
        const std::string pin = parseFingerprint(login.trustedFingerprint)
                                    .value_or(QByteArray(32, '\0'))
                                    .toBase64()
                                    .toStdString();
        setup.set(CURLOPT_SSH_HOST_PUBLIC_KEY_SHA256, pin.c_str());
    }
    // Logging in is a request without a transfer; libcurl learns the login directory on the way.
    setup.set(CURLOPT_NOBODY, 1L);
    if (!setup.complete())
        return FtpConnectResult::failed(ConnectFailure::OptionRefused);

    const CURLcode code = perform(root());
    if (code == CURLE_OK) {
        char* loginDirectory = nullptr;
        curl_easy_getinfo(handle(), CURLINFO_FTP_ENTRY_PATH, &loginDirectory);
        // A server that names no absolute login directory is taken from the top.
        m_directory =
            RemotePath::resolve("/", loginDirectory ? QByteArray(loginDirectory) : QByteArray());
        return {};
    }
    FtpConnectResult result = loginFailure(code);
    if (result.failure != ConnectFailure::UntrustedKey)
        return result;
    if (login.trustedFingerprint.isEmpty()) {
        if (!m_hostKey.isEmpty())
            result.serverKey = hostKey(m_hostKey);
        return result;
    }
    // The pinned key did not match. Another login that refuses every key learns which key
    // the server has now, and still sends nothing.
    FtpLogin probe = login;
    probe.trustedFingerprint.clear();
    probe.password.clear();
    FtpConnectResult seen = SftpConnection(root()).logIn(probe, options, {});
    result.failure = ConnectFailure::ChangedKey;
    result.serverKey = seen.serverKey;
    return result;
}

bool SftpConnection::SetCurrentDirectory(const QString& directory)
{
    const QByteArray path = RemotePath::resolve(m_directory, pathToLocal(directory));
    // Listing the directory is how SFTP tells that it exists and may be entered.
    CurlSetup setup(handle());
    resetRequest(setup);
    setup.set(CURLOPT_DIRLISTONLY, 1L);
    if (!setup.complete() || perform(directoryUrl(path)) != CURLE_OK)
        return false;
    m_directory = path;
    return true;
}

bool SftpConnection::CreateDirectory(const QString& directory)
{
    // Each folder on the way from the top; those that exist refuse, which is no failure.
    const QByteArray path = RemotePath::resolve(m_directory, pathToLocal(directory));
    QList<QByteArray> commands;
    QByteArray prefix;
    for (const QByteArray& part : path.split('/')) {
        if (part.isEmpty())
            continue;
        prefix += '/' + part;
        commands << "*mkdir " + quoted(prefix);
    }
    return commands.isEmpty() || performCommandsUnstoppable(commands, directoryUrl(m_directory));
}

std::optional<RemoteListing> SftpConnection::ListDirectory()
{
    // libcurl writes each entry as "ls -l" would.
    if (std::optional<QByteArray> listing = download(directoryUrl(m_directory), nullptr))
        return RemoteListings::fromList(*listing);
    return std::nullopt;
}

TransferResult SftpConnection::PutFile(const QString& localPath, const QString& remoteName)
{
    return upload(urlOf(remotePath(remoteName)), localPath);
}

std::optional<qint64> SftpConnection::FileSize(const QString& remoteName)
{
    return remoteSize(urlOf(remotePath(remoteName)));
}

bool SftpConnection::RenameFile(const QString& from, const QString& to)
{
    const QByteArray source = quoted(remotePath(from));
    const QByteArray target = quoted(remotePath(to));
    // Servers of the usual SFTP version refuse to rename onto a file that exists.
    const std::string url = directoryUrl(m_directory);
    return performCommandsUnstoppable({"rename " + source + ' ' + target}, url) ||
           performCommandsUnstoppable({"*rm " + target, "rename " + source + ' ' + target}, url);
}

bool SftpConnection::RemoveFile(const QString& remoteName)
{
    return performCommandsUnstoppable({"rm " + quoted(remotePath(remoteName))},
                                      directoryUrl(m_directory));
}

QByteArray SftpConnection::quoted(const QByteArray& path)
{
    QByteArray escaped = path;
    escaped.replace('\\', "\\\\").replace('"', "\\\"");
    return '"' + escaped + '"';
}

std::string SftpConnection::directoryUrl(const QByteArray& path) const
{
    return urlOf(RemotePath::join(path, {}));
}

std::string SftpConnection::urlOf(const QByteArray& path) const
{
    // The root URL ends in "/", and the path starts with one.
    return root() + path.mid(1).toPercentEncoding("/").toStdString();
}

int SftpConnection::onHostKey(void* self, int, const char* key, size_t length)
{
    static_cast<SftpConnection*>(self)->m_hostKey = QByteArray(key, qsizetype(length));
    return CURLKHMATCH_MISMATCH;
}
