#include "upload/CurlConnection.h"

#include "base/LocalPath.h"
#include "base/RegularFile.h"
#include "upload/CurlResults.h"
#include "upload/CurlSetup.h"
#include "upload/FtpOptions.h"
#include "upload/RemotePath.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

struct UrlCleanup
{
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

struct CurlFree
{
    void operator()(char* text) const { curl_free(text); }
};

// A listing beyond this is no folder of pictures: the request is given up rather than let
// a server fill the memory.
constexpr qsizetype largestListing = 16 * 1024 * 1024;

// Replies a login waits for at most: the greeting, AUTH TLS and the handshake, USER, PASS,
// PBSZ, PROT, PWD and a few to spare. Each reply has its own time-out; this only bounds a
// login that keeps answering and never ends.
constexpr int loginReplies = 10;

} // namespace

void CurlConnection::resetRequest(CurlSetup& setup)
{
    setup.set(CURLOPT_QUOTE, static_cast<curl_slist*>(nullptr))
        .set(CURLOPT_POSTQUOTE, static_cast<curl_slist*>(nullptr))
        .set(CURLOPT_CUSTOMREQUEST, static_cast<const char*>(nullptr))
        .set(CURLOPT_UPLOAD, 0L)
        .set(CURLOPT_NOBODY, 0L)
        .set(CURLOPT_DIRLISTONLY, 0L);
}

std::string CurlConnection::rootUrl(const char* scheme, const QString& server, int port)
{
    const std::unique_ptr<CURLU, UrlCleanup> url(curl_url());
    if (!url || curl_url_set(url.get(), CURLUPART_SCHEME, scheme, 0) != CURLUE_OK ||
        curl_url_set(url.get(), CURLUPART_HOST, server.toUtf8().constData(), 0) != CURLUE_OK)
        return {};
    // Port 0 leaves the scheme's own port.
    if (port != 0 &&
        curl_url_set(url.get(), CURLUPART_PORT, std::to_string(port).c_str(), 0) != CURLUE_OK)
        return {};
    char* text = nullptr;
    if (curl_url_get(url.get(), CURLUPART_URL, &text, CURLU_DEFAULT_PORT) != CURLUE_OK)
        return {};
    const std::unique_ptr<char, CurlFree> owned(text);
    return text;
}

CurlConnection::CurlConnection(std::string root) : m_curl(curl_easy_init()), m_root(std::move(root))
{
}

QString CurlConnection::CurrentDirectory() const
{
    return pathFromLocal(m_directory);
}

void CurlConnection::AdoptDirectory(const QString& absolute)
{
    m_directory = pathToLocal(absolute);
}

QByteArray CurlConnection::remotePath(const QString& remoteName) const
{
    // The name's own bytes, as the local file system holds them.
    return RemotePath::join(m_directory, pathToLocal(remoteName));
}

void CurlConnection::SetProgressCallback(std::function<void(qint64)> callback)
{
    m_progress = std::move(callback);
}

void CurlConnection::setUpHandle(CurlSetup& setup, const FtpOptions& options)
{
    using std::chrono::ceil;
    using std::chrono::seconds;

    const FtpTimeouts& timeouts = options.timeouts;
    m_stop = options.stop;
    m_connectTimeout = timeouts.connect;
    setup
        .set(CURLOPT_NOSIGNAL, 1L)
        // libcurl asks at least once a second, also while the server keeps silent.
        .set(CURLOPT_NOPROGRESS, 0L)
        .set(CURLOPT_XFERINFOFUNCTION, &CurlConnection::onProgress)
        .set(CURLOPT_XFERINFODATA, static_cast<void*>(this))
        .set(CURLOPT_HEADERFUNCTION, &CurlConnection::collectReply)
        .set(CURLOPT_HEADERDATA, static_cast<void*>(&m_replies))
        .set(CURLOPT_WRITEFUNCTION, &CurlConnection::collectBody)
        .set(CURLOPT_WRITEDATA, static_cast<void*>(this))
        .set(CURLOPT_SOCKOPTFUNCTION, &CurlConnection::onSocket)
        .set(CURLOPT_SOCKOPTDATA, static_cast<void*>(this))
        .set(CURLOPT_CLOSESOCKETFUNCTION, &CurlConnection::onCloseSocket)
        .set(CURLOPT_CLOSESOCKETDATA, static_cast<void*>(this))
        // libcurl's connect time-out covers the greeting and the login too, so a server that
        // answers each reply slowly would never get through. The connect time-out holds for
        // the TCP connection alone (see connectsInTime), the receive time-out for each reply.
        .set(CURLOPT_CONNECTTIMEOUT_MS,
             long((timeouts.connect + loginReplies * timeouts.receive).count()))
        .set(CURLOPT_ACCEPTTIMEOUT_MS, long(timeouts.connect.count()))
        .set(CURLOPT_SERVER_RESPONSE_TIMEOUT, long(ceil<seconds>(timeouts.receive).count()))
        // A transfer that stalls for the send time-out is given up.
        .set(CURLOPT_LOW_SPEED_LIMIT, 1L)
        .set(CURLOPT_LOW_SPEED_TIME, long(ceil<seconds>(timeouts.send).count()));
}

CURLcode CurlConnection::perform(const std::string& url)
{
    m_replies.clear();
    m_body.clear();
    m_bodyTooLarge = false;
    m_connectTimedOut = false;
    if (curl_easy_setopt(m_curl.get(), CURLOPT_URL, url.c_str()) != CURLE_OK)
        return CURLE_URL_MALFORMAT;
    const CURLcode code = curl_easy_perform(m_curl.get());
    if (code == CURLE_ABORTED_BY_CALLBACK && m_connectTimedOut)
        return CURLE_OPERATION_TIMEDOUT;
    return code;
}

TransferResult CurlConnection::upload(const std::string& url, const QString& localPath)
{
    const FilePtr file = openRegularFile(localPath);
    struct stat status = {};
    if (!file || fstat(fileno(file.get()), &status) != 0)
        return TransferResult::Failed;
    CurlSetup setup(m_curl.get());
    resetRequest(setup);
    setup.set(CURLOPT_UPLOAD, 1L)
        .set(CURLOPT_READDATA, static_cast<void*>(file.get()))
        .set(CURLOPT_INFILESIZE_LARGE, curl_off_t(status.st_size));
    if (!setup.complete())
        return TransferResult::Failed;
    const CURLcode code = perform(url);
    if (code == CURLE_ABORTED_BY_CALLBACK)
        return TransferResult::Stopped;
    return transferResult(code);
}

std::optional<QByteArray> CurlConnection::download(const std::string& url, const char* command)
{
    CurlSetup setup(m_curl.get());
    resetRequest(setup);
    setup.set(CURLOPT_CUSTOMREQUEST, command);
    if (!setup.complete())
        return std::nullopt;
    const CURLcode code = perform(url);
    // The command must not stay for the requests after this one.
    curl_easy_setopt(m_curl.get(), CURLOPT_CUSTOMREQUEST, static_cast<const char*>(nullptr));
    if (code != CURLE_OK || m_bodyTooLarge)
        return std::nullopt;
    return std::exchange(m_body, QByteArray());
}

std::optional<qint64> CurlConnection::remoteSize(const std::string& url)
{
    CurlSetup setup(m_curl.get());
    resetRequest(setup);
    setup.set(CURLOPT_NOBODY, 1L);
    if (!setup.complete())
        return std::nullopt;
    m_unstoppable = true;
    const CURLcode code = perform(url);
    m_unstoppable = false;
    curl_off_t size = -1;
    if (code != CURLE_OK ||
        curl_easy_getinfo(m_curl.get(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &size) != CURLE_OK ||
        size < 0)
        return std::nullopt;
    return qint64(size);
}

bool CurlConnection::performCommands(const QList<QByteArray>& commands, const std::string& url)
{
    CommandList list;
    for (const QByteArray& command : commands) {
        if (!append(list, command))
            return false;
    }
    CurlSetup setup(m_curl.get());
    resetRequest(setup);
    setup.set(CURLOPT_NOBODY, 1L).set(CURLOPT_QUOTE, list.get());
    m_commands = std::move(list);
    return setup.complete() && perform(url) == CURLE_OK;
}

bool CurlConnection::performCommandsUnstoppable(const QList<QByteArray>& commands,
                                                const std::string& url)
{
    m_unstoppable = true;
    const bool done = performCommands(commands, url);
    m_unstoppable = false;
    return done;
}

bool CurlConnection::append(CommandList& list, const QByteArray& command)
{
    if (command.contains('\r') || command.contains('\n') || command.contains('\0'))
        return false;
    curl_slist* longer = curl_slist_append(list.get(), command.constData());
    if (!longer)
        return false;
    list.release();
    list.reset(longer);
    return true;
}

int CurlConnection::onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t sent)
{
    auto* connection = static_cast<CurlConnection*>(self);
    if (!connection->connectsInTime()) {
        connection->m_connectTimedOut = true;
        return 1;
    }
    if (connection->m_progress)
        connection->m_progress(qint64(sent));
    const bool stop =
        !connection->m_unstoppable && connection->m_stop && connection->m_stop->load();
    return stop ? 1 : 0;
}

int CurlConnection::onSocket(void* self, curl_socket_t socket, curlsocktype purpose)
{
    // A socket of an active-mode data connection is the server's to connect to; the accept
    // time-out covers it.
    if (purpose == CURLSOCKTYPE_IPCXN)
        static_cast<CurlConnection*>(self)->m_connecting.emplace_back(
            socket, std::chrono::steady_clock::now());
    return CURL_SOCKOPT_OK;
}

int CurlConnection::onCloseSocket(void* self, curl_socket_t socket)
{
    auto& connecting = static_cast<CurlConnection*>(self)->m_connecting;
    std::erase_if(connecting, [socket](const auto& pending) { return pending.first == socket; });
    return close(socket);
}

bool CurlConnection::connectsInTime()
{
    const auto now = std::chrono::steady_clock::now();
    bool inTime = true;
    std::erase_if(m_connecting, [&](const auto& pending) {
        sockaddr_storage peer = {};
        socklen_t length = sizeof peer;
        int listening = 0;
        socklen_t flagLength = sizeof listening;
        // Connected, or listening for the server (active mode): nothing left to wait for.
        if (getpeername(pending.first, reinterpret_cast<sockaddr*>(&peer), &length) == 0 ||
            (getsockopt(pending.first, SOL_SOCKET, SO_ACCEPTCONN, &listening, &flagLength) == 0 &&
             listening != 0))
            return true;
        if (now - pending.second > m_connectTimeout)
            inTime = false;
        return false;
    });
    return inTime;
}

size_t CurlConnection::collectReply(char* data, size_t size, size_t count, void* replies)
{
    static_cast<std::string*>(replies)->append(data, size * count);
    return size * count;
}

size_t CurlConnection::collectBody(char* data, size_t size, size_t count, void* self)
{
    auto* connection = static_cast<CurlConnection*>(self);
    if (connection->m_body.size() + qsizetype(size * count) > largestListing) {
        connection->m_bodyTooLarge = true;
        return 0;
    }
    connection->m_body.append(data, qsizetype(size * count));
    return size * count;
}
