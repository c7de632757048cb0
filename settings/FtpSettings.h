#pragma once

#include "settings/SettingsFile.h"

#include <QString>

#include <array>

// The FTP connection settings, kept in ftpsettings.cfg.
struct FtpSettings
{
    QString Server;
    int Port = 0; // 0 asks the FTP client for port 21
    QString Password;
    QString UserName;
    QString ImageFtpDir;
    QString ThumbnailFtpDir;
    int Passive = 0;
    int Anonymous = 0;

    static constexpr const char* fileName = "ftpsettings.cfg";

    // Missing files and keys leave the fields as they are.
    bool load(const QString& path = fileName);
    // The file holds a password in clear text, so a new file is readable by its owner only.
    bool save(const QString& path = fileName);

private:
    std::array<SettingsField, 8> fields();
};
