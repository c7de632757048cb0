#pragma once

#include "upload/CurlEasy.h"
#include "upload/FtpConnection.h"
#include "upload/FtpTimeouts.h"

#include <QString>

#include <atomic>
#include <string>

class CurlSetup;
struct FtpOptions;

struct CommandListCleanup
{
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
// Commands a request sends before its transfer.
using CommandList = std::unique_ptr<curl_slist, CommandListCleanup>;

// What the FTP and the SFTP connection share: one libcurl handle that keeps its connection
// open between requests, the server's root URL, and the replies to the last request.
class CurlConnection : public FtpConnection
{
public:
    CurlConnection(const CurlConnection&) = delete;
    CurlConnection& operator=(const CurlConnection&) = delete;

protected:
    // "scheme://host:port/", or empty when the server name makes no host.
    static std::string rootUrl(const char* scheme, const QString& server, int port);

    explicit CurlConnection(std::string root);

    // The options every request shares: no signals, the time-outs, the stop, the replies
    // collected and any listing thrown away.
    void setUpHandle(CurlSetup& setup, const FtpOptions& options);

    CURL* handle() const { return m_curl.get(); }
    const std::string& root() const { return m_root; }
    const std::string& replies() const { return m_replies; }

    // Requests the URL with the options set now.
    CURLcode perform(const std::string& url);
    // Sends a local regular file to the URL, with no commands before it.
    TransferResult upload(const std::string& url, const QString& localPath);
    // Sends the commands, and nothing else, on a request for the URL. The handle keeps them
    // until the next request sets others.
    CURLcode performCommands(CommandList commands, const std::string& url);
    // The same, carried to its end whatever the stop says: what tidies up after a stop.
    CURLcode performCommandsUnstoppable(CommandList commands, const std::string& url);

    // Appends a command; false when there is no memory for it.
    static bool append(CommandList& list, const QByteArray& command);

private:
    static size_t collectReply(char* data, size_t size, size_t count, void* replies);
    static size_t discard(char* data, size_t size, size_t count, void* unused);
    static int onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t);

    CurlEasy m_curl;
    std::string m_root;
    std::string m_replies; // the server's replies to the last request
    CommandList m_commands; // the commands of the last request
    const std::atomic<bool>* m_stop = nullptr;
    bool m_unstoppable = false;
};
