#pragma once

#include <QString>

struct FtpSettings;

// Everything needed to log in to the server, taken from the settings in one place. The
// values stand as stored; opening the connection refuses those it cannot use.
struct FtpLogin
{
    QString server;
    int port = 0; // 0: the protocol's own port, 21 for FTP and 22 for SFTP
    QString userName;
    QString password;
    bool passive = false;
    int security = 0; // a Security value
    QString trustedFingerprint;

    static FtpLogin fromSettings(const FtpSettings& settings);
};
