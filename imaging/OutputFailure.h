#pragma once

#include "imaging/DecodeFailure.h"

#include <QString>

#include <system_error>

// Why one output of a row was not made.
struct OutputFailure
{
    enum class Kind
    {
        TooSmall,            // a side below one pixel
        TooLarge,            // a side or the whole beyond what the file or memory may hold
        WouldReplacePicture, // its name is that of a listed picture
        NotEncoded,          // the encoder refused the picture
        NotWritten,          // the file system refused it; error says why
    };

    Kind kind;
    std::error_code error = {};

    // In words for the person reading the report: "too large", "could not be written: disk
    // full".
    QString reason() const;
};

// Why a picture gave no pixels, in words: "Not a JPEG or HEIC picture", "Cut off".
QString decodeFailureReason(DecodeFailure failure);
