#pragma once

#include <chrono>

// How long an FTP connection waits before it gives up.
struct FtpTimeouts
{
    std::chrono::milliseconds connect{5000};
    std::chrono::milliseconds receive{5000};
    std::chrono::milliseconds send{5000};
};
