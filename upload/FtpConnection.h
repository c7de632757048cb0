#pragma once

#include "upload/CurlEasy.h"
#include "upload/FtpTimeouts.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <string>

// One logged-in FTP control connection with its remote current directory. It keeps that
// directory for its whole life, as an FTP server does: directory changes act on it and
// files are stored in it. It needs nothing of the session that opened it.
class FtpConnection
{
public:
    struct Login
    {
        QString server;
        QString userName;
        QString password;
        quint16 port; // 0 means 21
        bool passive;
    };

    // Null when the server cannot be reached or refuses the login.
    static std::unique_ptr<FtpConnection> open(const Login& login, const FtpTimeouts& timeouts);

    FtpConnection(const FtpConnection&) = delete;
    FtpConnection& operator=(const FtpConnection&) = delete;

    // Changes the remote current directory; the name is sent as it stands, so relative
    // names and ".." act on the current one. False when the server refuses.
    bool SetCurrentDirectory(const QString& directory);
    // Stores a local file in binary mode under remoteName in the remote current directory.
    bool PutFile(const QString& localPath, const QString& remoteName);

private:
    FtpConnection(CurlEasy curl, std::string root, QByteArray directory);

    static size_t collectReply(char* data, size_t size, size_t count, void* replies);
    bool perform(const std::string& url);

    CurlEasy m_curl;
    std::string m_root;     // ftp://host:port/
    QByteArray m_directory; // absolute, as the server names it
    std::string m_replies;  // the server's replies to the last request
};
