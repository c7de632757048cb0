#pragma once

// How a connection is protected; the values are those of the Security key in
// ftpsettings.cfg.
enum class Security
{
    PlainFtp = 0,
    FtpOverTlsIfOffered = 1, // falls back to plain FTP when the server offers no TLS
    FtpOverTls = 2,          // refused when the server offers no TLS
    Sftp = 3,
};
