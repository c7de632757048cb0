#include "upload/FtpControlConnection.h"

#include "base/LocalPath.h"
#include "upload/CurlResults.h"
#include "upload/CurlSetup.h"
#include "upload/FtpLogin.h"
#include "upload/FtpOptions.h"
#include "upload/RemotePath.h"

#include <QList>

#include <optional>

namespace {

// A text sent on the control connection must stay one command.
bool hasLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

// The directory a "257" reply names, such as 257 "/www/a ""b""" is the current directory.
std::optional<QByteArray> quotedDirectory(const std::string& replies)
{
    std::optional<QByteArray> directory;
    for (const QByteArray& line : QByteArray::fromStdString(replies).split('\n')) {
        if (!line.startsWith("257 "))
            continue;
        const qsizetype open = line.indexOf('"');
        if (open < 0)
            continue;
        QByteArray name;
        for (qsizetype i = open + 1; i < line.size(); ++i) {
            if (line[i] != '"') {
                name += line[i];
            } else if (i + 1 < line.size() && line[i + 1] == '"') {
                name += '"';
                ++i;
            } else {
                directory = name;
                break;
            }
        }
    }
    return directory;
}

} // namespace

FtpConnectResult FtpControlConnection::open(const FtpLogin& login, Security security,
                                            const FtpOptions& options)
{
    std::string root = rootUrl("ftp", login.server, login.port);
    if (root.empty())
        return FtpConnectResult::failed(ConnectFailure::InvalidServer);
    if (hasLineBreak(login.userName) || hasLineBreak(login.password))
        return FtpConnectResult::failed(ConnectFailure::LineBreak);
    std::unique_ptr<FtpControlConnection> connection(new FtpControlConnection(std::move(root)));
    FtpConnectResult result = connection->logIn(login, security, options);
    if (result.failure == ConnectFailure::None)
        result.connection = std::move(connection);
    return result;
}

FtpConnectResult FtpControlConnection::logIn(const FtpLogin& login, Security security,
                                             const FtpOptions& options)
{
    if (!handle())
        return FtpConnectResult::failed(ConnectFailure::OptionRefused);
    // libcurl 7.88 sends the data of an active-mode connection in clear although TLS should
    // protect it, so with TLS the server is always asked for a passive data connection.
    const bool passive = login.passive || security != Security::PlainFtp;
    CurlSetup setup(handle());
    setUpHandle(setup, options);
    setup.set(CURLOPT_PROTOCOLS_STR, "ftp")
        .set(CURLOPT_USERNAME, login.userName.toUtf8().constData())
        .set(CURLOPT_PASSWORD, login.password.toUtf8().constData())
        .set(CURLOPT_FTPPORT, passive ? nullptr : "-")
        // Files are stored under absolute names, so libcurl itself never changes directory
        // and the server's current directory stays the one this connection chose.
        .set(CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_NOCWD));
    if (security == Security::PlainFtp)
        setup.set(CURLOPT_USE_SSL, long(CURLUSESSL_NONE));
    else
        setUpTls(setup, login, security, options);
    // Logging in is a request without a transfer; libcurl learns the login directory on the way.
    setup.set(CURLOPT_NOBODY, 1L);
    if (!setup.complete())
        return FtpConnectResult::failed(ConnectFailure::OptionRefused);

    const CURLcode code = perform(root());
    char* loginDirectory = nullptr;
    if (code == CURLE_OK &&
        curl_easy_getinfo(handle(), CURLINFO_FTP_ENTRY_PATH, &loginDirectory) == CURLE_OK &&
        loginDirectory) {
        m_directory = loginDirectory;
        FtpConnectResult result;
        result.tlsDeclined = security == Security::FtpOverTlsIfOffered && !m_tls.sawTls();
        return result;
    }
    FtpConnectResult result = loginFailure(code);
    if (result.failure == ConnectFailure::UntrustedKey ||
        result.failure == ConnectFailure::ChangedKey)
        result.serverKey = m_tls.presentedKey();
    return result;
}

void FtpControlConnection::setUpTls(CurlSetup& setup, const FtpLogin& login, Security security,
                                    const FtpOptions& options)
{
    setup
        .set(CURLOPT_USE_SSL,
             long(security == Security::FtpOverTls ? CURLUSESSL_ALL : CURLUSESSL_TRY))
        .set(CURLOPT_FTPSSLAUTH, long(CURLFTPAUTH_TLS))
        // Many servers refuse a data connection that does not resume the control
        // connection's TLS session. With TLS 1.3 libcurl 7.88 resumes each data connection
        // with the ticket the one before brought, and an upload often brings none, so a
        // third or fourth file is refused; TLS 1.2 resumes the same session every time.
        .set(CURLOPT_SSL_SESSIONID_CACHE, 1L)
        .set(CURLOPT_SSLVERSION, long(CURL_SSLVERSION_TLSv1_2) | long(CURL_SSLVERSION_MAX_TLSv1_2));
    m_tls.install(setup);
    if (login.trustedFingerprint.isEmpty()) {
        setup.set(CURLOPT_SSL_VERIFYPEER, 1L).set(CURLOPT_SSL_VERIFYHOST, 2L);
        if (!options.caFile.isEmpty())
            setup.set(CURLOPT_CAINFO, pathToLocal(options.caFile).constData());
        return;
    }
    // Exactly the key the user trusted, whoever signed its certificate and whatever name it
    // carries: a self-signed certificate is the usual reason to trust one.
    // A fingerprint that does not parse pins nothing any server has.
    // libcurl keeps its own copy of the string.
    const std::string pin =
        "sha256//" +
        parseFingerprint(login.trustedFingerprint).value_or(QByteArray()).toBase64().toStdString();
    setup.set(CURLOPT_SSL_VERIFYPEER, 0L)
        .set(CURLOPT_SSL_VERIFYHOST, 0L)
        .set(CURLOPT_PINNEDPUBLICKEY, pin.c_str());
}

bool FtpControlConnection::SetCurrentDirectory(const QString& directory)
{
    // Starts from this connection's directory, not the server's idea of it: after a lost
    // control connection libcurl logs in again and lands in the login directory.
    const bool answered = performCommands(
        {"CWD " + m_directory, "CWD " + pathToLocal(directory), "PWD"}, commandUrl());
    const std::optional<QByteArray> changed = answered ? quotedDirectory(replies()) : std::nullopt;
    if (!changed)
        return false;
    m_directory = *changed;
    return true;
}

bool FtpControlConnection::CreateDirectory(const QString& directory)
{
    const QByteArray path = pathToLocal(directory);
    // One folder at a time, as the upload reaches it; a folder that exists refuses MKD, which
    // is no failure ("*"), and the CWD after it tells whether the way goes on.
    QList<QByteArray> commands = {"CWD " + m_directory};
    if (path.startsWith('/'))
        commands << "CWD /";
    for (const QByteArray& part : path.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part != "..")
            commands << "*MKD " + part;
        commands << "CWD " + part;
    }
    return performCommandsUnstoppable(commands, commandUrl());
}

std::optional<RemoteListing> FtpControlConnection::ListDirectory()
{
    // The folder's own absolute name: the server's current directory is not kept up.
    const std::string url =
        root() + RemotePath::join(m_directory, {}).toPercentEncoding().toStdString();
    // MLSD gives exact sizes in one agreed form; LIST is what every server has.
    if (std::optional<QByteArray> listing = download(url, "MLSD"))
        return RemoteListings::fromMlsd(*listing);
    if (std::optional<QByteArray> listing = download(url, "LIST"))
        return RemoteListings::fromList(*listing);
    return std::nullopt;
}

std::optional<qint64> FtpControlConnection::FileSize(const QString& remoteName)
{
    const QByteArray path = remotePath(remoteName);
    // The binary type of the upload before is still in force, so the server counts bytes.
    if (!performCommandsUnstoppable({"SIZE " + path}, commandUrl()))
        return std::nullopt;
    for (const QByteArray& line : QByteArray::fromStdString(replies()).split('\n')) {
        if (!line.startsWith("213 "))
            continue;
        bool ok = false;
        const qint64 size = line.mid(4).trimmed().toLongLong(&ok);
        if (ok && size >= 0)
            return size;
    }
    return std::nullopt;
}

bool FtpControlConnection::RenameFile(const QString& from, const QString& to)
{
    const QByteArray source = remotePath(from);
    const QByteArray target = remotePath(to);
    // Most servers replace the file of the new name; some refuse while it exists.
    return performCommandsUnstoppable({"RNFR " + source, "RNTO " + target}, commandUrl()) ||
           performCommandsUnstoppable({"*DELE " + target, "RNFR " + source, "RNTO " + target},
                                      commandUrl());
}

TransferResult FtpControlConnection::PutFile(const QString& localPath, const QString& remoteName)
{
    // Every slash encoded: the whole path is one absolute name, "%2F" first.
    return upload(root() + remotePath(remoteName).toPercentEncoding().toStdString(), localPath);
}

bool FtpControlConnection::RemoveFile(const QString& remoteName)
{
    return performCommandsUnstoppable({"DELE " + remotePath(remoteName)}, commandUrl());
}
