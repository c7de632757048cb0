#pragma once

#include <QString>

#include <chrono>
#include <optional>

// How far the sending of files has come: files and bytes done of those to send, and the time
// since the first one started.
struct TransferProgress
{
    int filesDone = 0;
    int files = 0;
    qint64 bytesDone = 0;
    qint64 bytes = 0;
    std::chrono::milliseconds elapsed{0};

    // "Uploading 12 of 80 files (3.1 of 9.8 MB)..."
    QString text() const;
    // What the rest should take at the pace so far; none before there is a pace to go by.
    std::optional<std::chrono::seconds> timeLeft() const;
};

// "0:12", "3:05", "1:02:09".
QString durationText(std::chrono::seconds duration);
