#pragma once

#include <QtGlobal>

// Why a picture gave no pixels.
enum class DecodeFailure
{
    None,
    NotAFile,           // missing, or a directory, FIFO, device or socket
    NotAPicture,        // neither JPEG nor HEIF, or data broken beyond decoding
    TooManyPixels,      // the header claims more than maxPicturePixels
    UnsupportedColours, // pixels of no colour space a screen shows, such as two components
    CutOff,             // the picture data ends before the picture does
    OutOfMemory,
    Corrupt, // the data is damaged, or built to cost far more than a photograph does
};

// More pixels than any camera makes. A header that claims more is refused before any pixel
// memory is allocated: a few kilobytes of hostile file could otherwise ask for gigabytes.
constexpr qint64 maxPicturePixels = 250'000'000;
