#pragma once

#include "settings/SettingsFile.h"

#include <QString>

#include <array>

// The FTP connection settings, kept in ftpsettings.cfg.
struct FtpSettings
{
    QString Server;
    int Port = 0; // 0 asks the FTP client for its protocol's own port
    QString Password;
    QString UserName;
    QString ImageFtpDir;
    QString ThumbnailFtpDir;
    int Passive = 0;
    int Anonymous = 0;
    // 0 plain FTP, 1 FTP over TLS when the server offers it, 2 FTP over TLS only, 3 SFTP. A
    // file written before these keys existed means plain FTP; a value that is no number at
    // all reads as unknownSecurity, refused as any value beyond these is.
    int Security = 0;
    static constexpr int unknownSecurity = -1;
    // The SHA-256 of the one server key the user chose to trust, lowercase hex with colons.
    QString TrustedFingerprint;
    // 1: send every file, even those the server already has as they are.
    int SendAll = 0;
    // Files sent at a time, each over a logged-in connection of its own: 1 to 8.
    int Connections = 4;
    // 1: remove from the remote folders the files an earlier upload put there that this set
    // no longer makes.
    int RemoveStale = 0;

    static constexpr const char* fileName = "ftpsettings.cfg";

    // Missing files and keys leave the fields as they are.
    bool load(const QString& path = fileName);
    // The file holds a password in clear text, so a new file is readable by its owner only,
    // and so is an existing one once a password is written into it.
    bool save(const QString& path = fileName);

    // A trusted key belongs to one server: it is forgotten once the server, port or security
    // differ from before, or a new server would be refused as if its key had changed.
    void keepTrustOnlyFor(const FtpSettings& before);

    // Connections within 1 to 8, whatever the file says.
    int connectionCount() const;

private:
    std::array<SettingsField, 13> fields();
};
