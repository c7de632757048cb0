#include "upload/FileTransfer.h"

#include "upload/FtpConnection.h"

#include <QCoreApplication>

#include <optional>

namespace {

// The size the server gives for a file: its own answer, or else its listing's.
std::optional<qint64> serverSize(FtpConnection& connection, const QString& name)
{
    if (std::optional<qint64> size = connection.FileSize(name))
        return size;
    const std::optional<RemoteListing> listing = connection.ListDirectory();
    if (listing && listing->contains(name))
        return listing->value(name);
    return std::nullopt;
}

} // namespace

QString FileTransfer::temporaryName(const QString& remoteName)
{
    return QStringLiteral(".morvane-") + remoteName + QStringLiteral(".tmp");
}

TransferOutcome FileTransfer::send(FtpConnection& connection) const
{
    // The folder was entered, or made, before any file went out: asking the server again
    // would only cost a round trip per file.
    connection.AdoptDirectory(remoteDir);
    const QString temporary = temporaryName(remoteName);
    const TransferResult sent = connection.PutFile(localPath, temporary);
    if (sent == TransferResult::TimedOut)
        // A server that stopped answering would only keep the next command waiting too.
        return {sent, QCoreApplication::translate("FileTransfer", "Connection timed out.")};
    if (sent != TransferResult::Stored) {
        connection.RemoveFile(temporary);
        return {sent, {}};
    }
    // A server may end a transfer early and still report it complete.
    const std::optional<qint64> stored = serverSize(connection, temporary);
    if (stored != size) {
        connection.RemoveFile(temporary);
        return {TransferResult::Failed,
                stored ? QCoreApplication::translate("FileTransfer",
                                                     "The server stored %1 of its %2 bytes.")
                             .arg(*stored)
                             .arg(size)
                       : QCoreApplication::translate(
                             "FileTransfer", "The server did not tell how much of it arrived.")};
    }
    if (!connection.RenameFile(temporary, remoteName)) {
        connection.RemoveFile(temporary);
        return {TransferResult::Failed,
                QCoreApplication::translate("FileTransfer",
                                            "The server did not let it take its name.")};
    }
    return {TransferResult::Stored, {}};
}
