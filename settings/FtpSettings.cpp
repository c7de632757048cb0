#include "settings/FtpSettings.h"

std::array<SettingsField, 8> FtpSettings::fields()
{
    return {{
        {"Server", &Server},
        {"Port", &Port},
        {"Password", &Password},
        {"UserName", &UserName},
        {"ImageFtpDir", &ImageFtpDir},
        {"ThumbnailFtpDir", &ThumbnailFtpDir},
        {"Passive", &Passive},
        {"Anonymous", &Anonymous},
    }};
}

bool FtpSettings::load(const QString& path)
{
    return SettingsFile::load(path, fields());
}

bool FtpSettings::save(const QString& path)
{
    return SettingsFile::save(path, fields(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}
