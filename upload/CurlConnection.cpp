#include "upload/CurlConnection.h"

#include "base/LocalPath.h"
#include "upload/CurlResults.h"
#include "upload/CurlSetup.h"
#include "upload/FtpOptions.h"

#include <sys/stat.h>

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

struct FileClose
{
    void operator()(FILE* file) const { std::fclose(file); }
};

} // namespace

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

void CurlConnection::setUpHandle(CurlSetup& setup, const FtpOptions& options)
{
    using std::chrono::ceil;
    using std::chrono::seconds;

    const FtpTimeouts& timeouts = options.timeouts;
    m_stop = options.stop;
    setup
        .set(CURLOPT_NOSIGNAL, 1L)
        // libcurl asks at least once a second, also while the server keeps silent.
        .set(CURLOPT_NOPROGRESS, 0L)
        .set(CURLOPT_XFERINFOFUNCTION, &CurlConnection::onProgress)
        .set(CURLOPT_XFERINFODATA, static_cast<void*>(this))
        .set(CURLOPT_HEADERFUNCTION, &CurlConnection::collectReply)
        .set(CURLOPT_HEADERDATA, static_cast<void*>(&m_replies))
        .set(CURLOPT_WRITEFUNCTION, &CurlConnection::discard)
        .set(CURLOPT_CONNECTTIMEOUT_MS, long(timeouts.connect.count()))
        .set(CURLOPT_ACCEPTTIMEOUT_MS, long(timeouts.connect.count()))
        .set(CURLOPT_SERVER_RESPONSE_TIMEOUT, long(ceil<seconds>(timeouts.receive).count()))
        // A transfer that stalls for the send time-out is given up.
        .set(CURLOPT_LOW_SPEED_LIMIT, 1L)
        .set(CURLOPT_LOW_SPEED_TIME, long(ceil<seconds>(timeouts.send).count()));
}

CURLcode CurlConnection::perform(const std::string& url)
{
    m_replies.clear();
    if (curl_easy_setopt(m_curl.get(), CURLOPT_URL, url.c_str()) != CURLE_OK)
        return CURLE_URL_MALFORMAT;
    return curl_easy_perform(m_curl.get());
}

TransferResult CurlConnection::upload(const std::string& url, const QString& localPath)
{
    const std::unique_ptr<FILE, FileClose> file(
        std::fopen(pathToLocal(localPath).constData(), "rb"));
    struct stat status = {};
    if (!file || fstat(fileno(file.get()), &status) != 0 || !S_ISREG(status.st_mode))
        return TransferResult::Failed;
    CurlSetup setup(m_curl.get());
    setup.set(CURLOPT_QUOTE, static_cast<curl_slist*>(nullptr))
        .set(CURLOPT_NOBODY, 0L)
        .set(CURLOPT_DIRLISTONLY, 0L)
        .set(CURLOPT_UPLOAD, 1L)
        .set(CURLOPT_READDATA, static_cast<void*>(file.get()))
        .set(CURLOPT_INFILESIZE_LARGE, curl_off_t(status.st_size));
    if (!setup.complete())
        return TransferResult::Failed;
    const CURLcode code = perform(url);
    if (code == CURLE_ABORTED_BY_CALLBACK)
        return TransferResult::Stopped;
    return transferResult(code);
}

CURLcode CurlConnection::performCommands(CommandList commands, const std::string& url)
{
    CurlSetup setup(m_curl.get());
    setup.set(CURLOPT_UPLOAD, 0L).set(CURLOPT_NOBODY, 1L).set(CURLOPT_QUOTE, commands.get());
    m_commands = std::move(commands);
    if (!setup.complete())
        return CURLE_BAD_FUNCTION_ARGUMENT;
    return perform(url);
}

CURLcode CurlConnection::performCommandsUnstoppable(CommandList commands, const std::string& url)
{
    m_unstoppable = true;
    const CURLcode code = performCommands(std::move(commands), url);
    m_unstoppable = false;
    return code;
}

bool CurlConnection::append(CommandList& list, const QByteArray& command)
{
    curl_slist* longer = curl_slist_append(list.get(), command.constData());
    if (!longer)
        return false;
    list.release();
    list.reset(longer);
    return true;
}

int CurlConnection::onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    const auto* connection = static_cast<const CurlConnection*>(self);
    const bool stop =
        !connection->m_unstoppable && connection->m_stop && connection->m_stop->load();
    return stop ? 1 : 0;
}

size_t CurlConnection::collectReply(char* data, size_t size, size_t count, void* replies)
{
    static_cast<std::string*>(replies)->append(data, size * count);
    return size * count;
}

size_t CurlConnection::discard(char*, size_t size, size_t count, void*)
{
    return size * count;
}
