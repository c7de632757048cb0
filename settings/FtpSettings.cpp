#include "settings/FtpSettings.h"

#include <algorithm>

std::array<SettingsField, 13> FtpSettings::fields()
{
    // The first key found anywhere in a line decides, so a newer key goes last (an older
    // value that happens to hold its name stays the older field's), and neither its name nor
    // its values may hold an older key's name.
    return {{
        {"Server", &Server},
        {"Port", &Port},
        {"Password", &Password},
        {"UserName", &UserName},
        {"ImageFtpDir", &ImageFtpDir},
        {"ThumbnailFtpDir", &ThumbnailFtpDir},
        {"Passive", &Passive},
        {"Anonymous", &Anonymous},
        {"Security", ExactInteger{&Security, unknownSecurity}},
        {"TrustedFingerprint", &TrustedFingerprint},
        {"SendAll", &SendAll},
        {"Connections", &Connections},
        {"RemoveStale", &RemoveStale},
    }};
}

bool FtpSettings::load(const QString& path)
{
    return SettingsFile::load(path, fields());
}

bool FtpSettings::save(const QString& path)
{
    // A file made readable by others before it held a password must not stay so.
    return SettingsFile::save(path, fields(),
                              Password.isEmpty() ? SettingsFile::Access::NewOwnerOnly
                                                 : SettingsFile::Access::OwnerOnly);
}

void FtpSettings::keepTrustOnlyFor(const FtpSettings& before)
{
    if (Server != before.Server || Port != before.Port || Security != before.Security)
        TrustedFingerprint.clear();
}

int FtpSettings::connectionCount() const
{
    return std::clamp(Connections, 1, 8);
}
