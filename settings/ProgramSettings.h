#pragma once

#include "settings/FtpSettings.h"
#include "settings/ImageSettings.h"

// The program's settings, held by the application for as long as it runs: the two settings
// dialogs edit them, and each run takes a copy when it starts.
struct ProgramSettings
{
    ImageSettings image;
    FtpSettings ftp;
};
