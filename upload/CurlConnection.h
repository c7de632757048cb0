#pragma once

#include "upload/CurlEasy.h"
#include "upload/FtpConnection.h"
#include "upload/FtpTimeouts.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

class CurlSetup;
struct FtpOptions;

struct CommandListCleanup
{
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
// Commands a request sends before its transfer.
using CommandList = std::unique_ptr<curl_slist, CommandListCleanup>;

// What the FTP and the SFTP connection share: one libcurl handle that keeps its connection
// open between requests, the server's root URL, the current directory, and the replies to the
// last request.
class CurlConnection : public FtpConnection
{
public:
    CurlConnection(const CurlConnection&) = delete;
    CurlConnection& operator=(const CurlConnection&) = delete;

    QString CurrentDirectory() const override;
    void AdoptDirectory(const QString& absolute) override;
    void SetProgressCallback(std::function<void(qint64 bytesSent)> callback) override;

protected:
    // "scheme://host:port/", or empty when the server name makes no host.
    static std::string rootUrl(const char* scheme, const QString& server, int port);

    explicit CurlConnection(std::string root);

    // Every option a request may have changed, back to what a plain request wants.
    static void resetRequest(CurlSetup& setup);

    // The options every request shares: no signals, the time-outs, the stop, the replies
    // collected and any listing thrown away.
    void setUpHandle(CurlSetup& setup, const FtpOptions& options);

    CURL* handle() const { return m_curl.get(); }
    const std::string& root() const { return m_root; }
    const std::string& replies() const { return m_replies; }
    // The absolute name of a file in the current directory.
    QByteArray remotePath(const QString& remoteName) const;

    // Requests the URL with the options set now. A TCP connection not made within the
    // connect time-out ends the request as timed out.
    CURLcode perform(const std::string& url);
    // Sends a local regular file to the URL, with no commands before it.
    TransferResult upload(const std::string& url, const QString& localPath);
    // Requests the URL with a listing command ("MLSD", "LIST", or none for libcurl's own)
    // and hands back what came over the data connection; none when the request failed or the
    // listing ran beyond any folder's size.
    std::optional<QByteArray> download(const std::string& url, const char* command);
    // The size of the file at the URL from a request for nothing but its attributes, carried
    // to its end whatever the stop says; none when the server tells none.
    std::optional<qint64> remoteSize(const std::string& url);
    // Sends the commands, and nothing else, on a request for the URL; false when one failed
    // (a command starting with "*" may fail) or none went out because one was refused (see
    // append). The handle keeps them until the next request
    // sets others.
    bool performCommands(const QList<QByteArray>& commands, const std::string& url);
    // The same, carried to its end whatever the stop says: what tidies up after a stop.
    bool performCommandsUnstoppable(const QList<QByteArray>& commands, const std::string& url);

    QByteArray m_directory; // the current directory, absolute, as the server names it

private:
    // Appends a command; false when there is no memory for it, or when it would not go out
    // as one whole command: a line break would start another, and libcurl ends it at a NUL.
    static bool append(CommandList& list, const QByteArray& command);

    static size_t collectReply(char* data, size_t size, size_t count, void* replies);
    static size_t collectBody(char* data, size_t size, size_t count, void* self);
    static int onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t);
    static int onSocket(void* self, curl_socket_t socket, curlsocktype purpose);
    static int onCloseSocket(void* self, curl_socket_t socket);
    // True once every connection this request started is made, or the connect time-out is
    // not over yet.
    bool connectsInTime();

    CurlEasy m_curl;
    std::string m_root;
    std::string m_replies; // the server's replies to the last request
    QByteArray m_body;     // what the last download brought
    bool m_bodyTooLarge = false;
    CommandList m_commands; // the commands of the last request
    const std::atomic<bool>* m_stop = nullptr;
    bool m_unstoppable = false;
    std::function<void(qint64)> m_progress;
    // Sockets opened whose TCP connection is not made yet, each with when it was opened.
    std::vector<std::pair<curl_socket_t, std::chrono::steady_clock::time_point>> m_connecting;
    std::chrono::milliseconds m_connectTimeout{0};
    bool m_connectTimedOut = false;
};
