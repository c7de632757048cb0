#pragma once

#include <QString>

// What became of one file sent to the server.
enum class TransferResult
{
    Stored,
    Failed,
    TimedOut, // the server stopped answering
    Stopped,  // given up halfway on request
};

// One logged-in connection with its remote current directory, over FTP, FTP over TLS or
// SFTP. It keeps that directory for its whole life, as an FTP server does: directory changes
// act on it and files are stored in it. It needs nothing of the session that opened it.
class FtpConnection
{
public:
    virtual ~FtpConnection() = default;

    // Changes the remote current directory: relative names and ".." act on the current
    // one, and a name starting with "/" is taken from the top. False when the directory
    // cannot be entered.
    virtual bool SetCurrentDirectory(const QString& directory) = 0;
    // Stores a local file in binary mode under remoteName in the remote current directory.
    virtual TransferResult PutFile(const QString& localPath, const QString& remoteName) = 0;
    // Removes a file of the remote current directory, such as what a stopped transfer left
    // of a picture; a stop does not cut it short. False when the server refuses.
    virtual bool RemoveFile(const QString& remoteName) = 0;
};
