#include "upload/FtpConnection.h"

#include "base/LocalPath.h"

#include <QList>

#include <sys/stat.h>

#include <cstdio>
#include <optional>

namespace {

struct UrlCleanup
{
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};

struct CurlFree
{
    void operator()(char* text) const { curl_free(text); }
};

struct CommandListCleanup
{
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CommandList = std::unique_ptr<curl_slist, CommandListCleanup>;

struct FileClose
{
    void operator()(FILE* file) const { std::fclose(file); }
};

// A text sent on the control connection must stay one command.
bool hasLineBreak(const QString& text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
}

// "ftp://host:port/", or empty when the server name makes no host.
std::string rootUrl(const QString& server, quint16 port)
{
    const std::unique_ptr<CURLU, UrlCleanup> url(curl_url());
    const std::string portText = std::to_string(port == 0 ? 21 : port);
    if (!url || curl_url_set(url.get(), CURLUPART_SCHEME, "ftp", 0) != CURLUE_OK ||
        curl_url_set(url.get(), CURLUPART_HOST, server.toUtf8().constData(), 0) != CURLUE_OK ||
        curl_url_set(url.get(), CURLUPART_PORT, portText.c_str(), 0) != CURLUE_OK)
        return {};
    char* text = nullptr;
    if (curl_url_get(url.get(), CURLUPART_URL, &text, 0) != CURLUE_OK)
        return {};
    const std::unique_ptr<char, CurlFree> owned(text);
    return text;
}

bool append(CommandList& list, const QByteArray& command)
{
    curl_slist* longer = curl_slist_append(list.get(), command.constData());
    if (!longer)
        return false;
    list.release();
    list.reset(longer);
    return true;
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

FtpConnection::FtpConnection(CurlEasy curl, std::string root, QByteArray directory)
    : m_curl(std::move(curl)), m_root(std::move(root)), m_directory(std::move(directory))
{
    curl_easy_setopt(m_curl.get(), CURLOPT_HEADERFUNCTION, &FtpConnection::collectReply);
    curl_easy_setopt(m_curl.get(), CURLOPT_HEADERDATA, &m_replies);
}

std::unique_ptr<FtpConnection> FtpConnection::open(const Login& login, const FtpTimeouts& timeouts)
{
    using std::chrono::ceil;
    using std::chrono::seconds;

    std::string root = rootUrl(login.server, login.port);
    CurlEasy curl(curl_easy_init());
    if (root.empty() || !curl || hasLineBreak(login.userName) || hasLineBreak(login.password))
        return nullptr;
    CURL* handle = curl.get();
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(handle, CURLOPT_USERNAME, login.userName.toUtf8().constData());
    curl_easy_setopt(handle, CURLOPT_PASSWORD, login.password.toUtf8().constData());
    curl_easy_setopt(handle, CURLOPT_FTPPORT, login.passive ? nullptr : "-");
    // Files are stored under absolute names, so libcurl itself never changes directory and
    // the server's current directory stays the one this connection chose.
    curl_easy_setopt(handle, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_NOCWD));
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, long(timeouts.connect.count()));
    curl_easy_setopt(handle, CURLOPT_ACCEPTTIMEOUT_MS, long(timeouts.connect.count()));
    curl_easy_setopt(handle, CURLOPT_SERVER_RESPONSE_TIMEOUT,
                     long(ceil<seconds>(timeouts.receive).count()));
    // A data transfer that stalls for the send time-out is given up.
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, long(ceil<seconds>(timeouts.send).count()));

    // Logging in is a request without a transfer; libcurl learns the login directory on the way.
    curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(handle, CURLOPT_URL, root.c_str());
    char* loginDirectory = nullptr;
    if (curl_easy_perform(handle) != CURLE_OK ||
        curl_easy_getinfo(handle, CURLINFO_FTP_ENTRY_PATH, &loginDirectory) != CURLE_OK ||
        !loginDirectory)
        return nullptr;
    return std::unique_ptr<FtpConnection>(
        new FtpConnection(std::move(curl), std::move(root), QByteArray(loginDirectory)));
}

bool FtpConnection::SetCurrentDirectory(const QString& directory)
{
    if (hasLineBreak(directory))
        return false;
    // Starts from this connection's directory, not the server's idea of it: after a lost
    // control connection libcurl logs in again and lands in the login directory.
    CommandList commands;
    if (!append(commands, "CWD " + m_directory) || !append(commands, "CWD " + directory.toUtf8()) ||
        !append(commands, "PWD"))
        return false;
    CURL* handle = m_curl.get();
    curl_easy_setopt(handle, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(handle, CURLOPT_QUOTE, commands.get());
    const bool answered = perform(m_root + "%2F");
    curl_easy_setopt(handle, CURLOPT_QUOTE, nullptr);
    const std::optional<QByteArray> changed = answered ? quotedDirectory(m_replies) : std::nullopt;
    if (!changed)
        return false;
    m_directory = *changed;
    return true;
}

bool FtpConnection::PutFile(const QString& localPath, const QString& remoteName)
{
    const std::unique_ptr<FILE, FileClose> file(
        std::fopen(pathToLocal(localPath).constData(), "rb"));
    struct stat status = {};
    if (!file || fstat(fileno(file.get()), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    QByteArray remotePath = m_directory;
    if (!remotePath.endsWith('/'))
        remotePath += '/';
    remotePath += remoteName.toUtf8();

    CURL* handle = m_curl.get();
    curl_easy_setopt(handle, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(handle, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(handle, CURLOPT_READDATA, file.get());
    curl_easy_setopt(handle, CURLOPT_INFILESIZE_LARGE, curl_off_t(status.st_size));
    // Every slash encoded: the whole path is one absolute name, "%2F" first.
    return perform(m_root + remotePath.toPercentEncoding().toStdString());
}

size_t FtpConnection::collectReply(char* data, size_t size, size_t count, void* replies)
{
    static_cast<std::string*>(replies)->append(data, size * count);
    return size * count;
}

bool FtpConnection::perform(const std::string& url)
{
    m_replies.clear();
    curl_easy_setopt(m_curl.get(), CURLOPT_URL, url.c_str());
    return curl_easy_perform(m_curl.get()) == CURLE_OK;
}
