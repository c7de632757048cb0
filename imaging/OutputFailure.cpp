#include "imaging/OutputFailure.h"

#include "base/ErrorText.h"

QString OutputFailure::reason() const
{
    switch (kind) {
    case Kind::TooSmall:
        return QStringLiteral("too small: a side would be under one pixel");
    case Kind::TooLarge:
        return QStringLiteral("too large for a picture file");
    case Kind::WouldReplacePicture:
        return QStringLiteral("would replace a picture of the list");
    case Kind::NotEncoded:
        return QStringLiteral("could not be encoded");
    case Kind::NotWritten:
        return QStringLiteral("could not be written: ") + errorText(error);
    }
    Q_UNREACHABLE();
}

QString decodeFailureReason(DecodeFailure failure)
{
    switch (failure) {
    case DecodeFailure::None:
        return {};
    case DecodeFailure::NotAFile:
        return QStringLiteral("Not found, or not a file");
    case DecodeFailure::NotAPicture:
        return QStringLiteral("Not a JPEG or HEIC picture");
    case DecodeFailure::TooManyPixels:
        return QStringLiteral("Larger than 250 megapixels (50 for HEIC)");
    case DecodeFailure::UnsupportedColours:
        return QStringLiteral("Colours of no kind a screen shows");
    case DecodeFailure::CutOff:
        return QStringLiteral("Cut off");
    case DecodeFailure::OutOfMemory:
        return QStringLiteral("Not enough memory");
    case DecodeFailure::Corrupt:
        return QStringLiteral("Damaged picture data");
    }
    Q_UNREACHABLE();
}
