#pragma once

#include <QFile>

// Under AddressSanitizer a program holds far more than its own memory: shadow memory, and
// freed blocks kept aside for a while. Bounds on peak memory hold only without it.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool memoryBoundsHold = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool memoryBoundsHold = false;
#else
constexpr bool memoryBoundsHold = true;
#endif
#else
constexpr bool memoryBoundsHold = true;
#endif

// The peak resident memory of this process so far, in kilobytes.
inline qint64 peakResidentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}
