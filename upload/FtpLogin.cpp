#include "upload/FtpLogin.h"

#include "settings/FtpSettings.h"

FtpLogin FtpLogin::fromSettings(const FtpSettings& settings)
{
    // Anonymous plays no part: user name and password are sent as typed, empty or not.
    return {settings.Server,       settings.Port,     settings.UserName,          settings.Password,
            settings.Passive != 0, settings.Security, settings.TrustedFingerprint};
}
