#pragma once

#include "imaging/DecodeFailure.h"
#include "imaging/PreviewGeometry.h"

#include <QString>

#include <functional>

class BusyFlag;
class ColourTransforms;

// What became of a preview.
enum class PreviewOutcome
{
    Written,
    Unwanted,   // a later preview took its place: nothing was written
    Unreadable, // the picture cannot be read: nothing was written
};

struct PreviewResult
{
    PreviewOutcome outcome;
    DecodeFailure failure = DecodeFailure::None; // why, when unreadable
};

// Decodes the picture upright and in sRGB (profiles looked up in transforms), scales it into
// a preview box of longerSide pixels and writes it as a JPEG of quality 100 to previewPath,
// holding busy only while the file is written. Asked while busy is held, isWanted says
// whether a later preview has taken its place.
PreviewResult WritePreviewFile(const QString& picturePath, const QString& previewPath,
                               BusyFlag& busy, const std::function<bool()>& isWanted,
                               ColourTransforms& transforms, int longerSide = previewSide);
