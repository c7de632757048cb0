#pragma once

#include "upload/CurlEasy.h"
#include "upload/FtpConnection.h"
#include "upload/FtpTimeouts.h"

#include <QString>

#include <string>

class CurlSetup;

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

    // The options every request shares: no signals, the time-outs, the replies collected
    // and any listing thrown away.
    void setUpHandle(CurlSetup& setup, const FtpTimeouts& timeouts);

    CURL* handle() const { return m_curl.get(); }
    const std::string& root() const { return m_root; }
    const std::string& replies() const { return m_replies; }

    // Requests the URL with the options set now.
    CURLcode perform(const std::string& url);
    // Sends a local regular file to the URL, with no commands before it.
    TransferResult upload(const std::string& url, const QString& localPath);

private:
    static size_t collectReply(char* data, size_t size, size_t count, void* replies);
    static size_t discard(char* data, size_t size, size_t count, void* unused);

    CurlEasy m_curl;
    std::string m_root;
    std::string m_replies; // the server's replies to the last request
};
