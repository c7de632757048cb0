#pragma once

#include "upload/FtpTimeouts.h"

#include <QString>

// How the program connects, the same for every server.
struct FtpOptions
{
    FtpTimeouts timeouts;
    // Certificates of the authorities a TLS server's certificate may be signed by; empty
    // means the system's own.
    QString caFile;
};
