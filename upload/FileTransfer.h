#pragma once

#include "upload/TransferQueue.h"

#include <QString>

class FtpConnection;

// One file on its way to the server: it goes up under a temporary name beside its final one
// and takes the final name only once the server holds every byte of it, so visitors never
// meet half a picture. Whatever fails, the temporary file is removed where the server lets
// it be.
struct FileTransfer
{
    QString localPath;
    qint64 size = 0;   // of the local file
    QString remoteDir; // from the top
    QString remoteName;

    // The temporary name: hidden, and the same on every try, so one left by a broken-off run
    // is replaced by the next.
    static QString temporaryName(const QString& remoteName);

    // Sends the file over the connection, into its folder wherever the connection stands.
    TransferOutcome send(FtpConnection& connection) const;
};
