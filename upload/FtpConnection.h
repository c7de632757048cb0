#pragma once

#include "upload/RemoteListing.h"

#include <QString>

#include <functional>
#include <optional>

// What became of one file sent to the server.
enum class TransferResult
{
    Stored,
    Failed,
    TimedOut, // the server stopped answering
    Stopped,  // given up halfway on request
    Dropped,  // the connection broke off; another connection may well succeed
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
    // The remote current directory from the top, as the server names it.
    virtual QString CurrentDirectory() const = 0;
    // Takes a directory from the top that exists, such as one another connection to the same
    // server entered, as the current one without asking the server: every name a connection
    // sends is absolute, so the server's own idea of a current directory plays no part.
    virtual void AdoptDirectory(const QString& absolute) = 0;
    // Makes the directory, and every directory on the way to it that is missing, named as
    // SetCurrentDirectory takes it; the current directory stays. False when the server
    // refused; whether the directory exists then is for SetCurrentDirectory to tell.
    virtual bool CreateDirectory(const QString& directory) = 0;
    // The files of the current directory with their sizes; none when it cannot be listed.
    virtual std::optional<RemoteListing> ListDirectory() = 0;
    // Stores a local file in binary mode under remoteName in the remote current directory.
    virtual TransferResult PutFile(const QString& localPath, const QString& remoteName) = 0;
    // The size of a file of the remote current directory as the server tells it; none when
    // it does not.
    virtual std::optional<qint64> FileSize(const QString& remoteName) = 0;
    // Gives a file of the current directory a new name, replacing a file of that name; a stop
    // does not cut it short. False when the server refuses.
    virtual bool RenameFile(const QString& from, const QString& to) = 0;
    // Removes a file of the remote current directory, such as what a stopped transfer left
    // of a picture; a stop does not cut it short. False when the server refuses.
    virtual bool RemoveFile(const QString& remoteName) = 0;
    // Is told the bytes of the file being sent so far, on the thread that sends it; none to
    // stop telling.
    virtual void SetProgressCallback(std::function<void(qint64 bytesSent)> callback) = 0;
};
