#pragma once

#include "upload/FtpTimeouts.h"

#include <QString>

#include <atomic>

// How the program connects, the same for every server.
struct FtpOptions
{
    FtpTimeouts timeouts;
    // Certificates of the authorities a TLS server's certificate may be signed by; empty
    // means the system's own.
    QString caFile;
    // Once set, a connection gives up what it is doing, a login, a directory change or a
    // transfer, within a moment, rather than when the server answers.
    const std::atomic<bool>* stop = nullptr;
    // Where the records of what was uploaded are kept; empty means the user's data folder.
    QString recordFolder;
};
