#include "imaging/OutputFailure.h"

#include "base/ErrorText.h"

#include <QCoreApplication>

QString OutputFailure::reason() const
{
    switch (kind) {
    case Kind::TooSmall:
        return QCoreApplication::translate("OutputFailure",
                                           "too small: a side would be under one pixel");
    case Kind::TooLarge:
        return QCoreApplication::translate("OutputFailure", "too large for a picture file");
    case Kind::WouldReplacePicture:
        return QCoreApplication::translate("OutputFailure", "would replace a picture of the list");
    case Kind::NotEncoded:
        return QCoreApplication::translate("OutputFailure", "could not be encoded");
    case Kind::NotWritten:
        return QCoreApplication::translate("OutputFailure", "could not be written: %1")
            .arg(errorText(error));
    }
    Q_UNREACHABLE();
}

QString decodeFailureReason(DecodeFailure failure)
{
    switch (failure) {
    case DecodeFailure::None:
        return {};
    case DecodeFailure::NotAFile:
        return QCoreApplication::translate("OutputFailure", "Not found, or not a file");
    case DecodeFailure::NotAPicture:
        return QCoreApplication::translate("OutputFailure", "Not a JPEG or HEIC picture");
    case DecodeFailure::TooManyPixels:
        return QCoreApplication::translate("OutputFailure",
                                           "Larger than 250 megapixels (50 for HEIC)");
    case DecodeFailure::UnsupportedColours:
        return QCoreApplication::translate("OutputFailure", "Colours of no kind a screen shows");
    case DecodeFailure::CutOff:
        return QCoreApplication::translate("OutputFailure", "Cut off");
    case DecodeFailure::OutOfMemory:
        return QCoreApplication::translate("OutputFailure", "Not enough memory");
    case DecodeFailure::Corrupt:
        return QCoreApplication::translate("OutputFailure", "Damaged picture data");
    }
    Q_UNREACHABLE();
}
