#pragma once

#include "imaging/OutputFormat.h"
#include "settings/ImageSettings.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// One file a profile makes of a picture.
struct ProfileOutput
{
    OutputFormat format;
    int density; // 1, or 2 for the version at twice the size for high-density screens
    // None when the format cannot hold the size the profile asks for: the output is not made,
    // and that is reported.
    std::optional<QSize> size;
    // The name in the profile's save directory: the picture's name, the profile's Extension,
    // "@2x" for the double version, and the format's suffix ("beach01_t@2x.avif").
    QString fileName;

    bool operator==(const ProfileOutput&) const = default;
};

// The formats a profile writes: JPEG always, then WebP and AVIF when it asks for them.
std::vector<OutputFormat> profileFormats(const OutputProfile& profile);

// The name of one output in the profile's save directory (see ProfileOutput::fileName).
QString outputFileName(const OutputProfile& profile, OutputFormat format, int density,
                       const QString& name);

// Every name the profile may give the outputs of a picture named name, whatever the picture's
// size: each format, and with Double each again at 2x.
QStringList possibleFileNames(const OutputProfile& profile, const QString& name);

// Every output of a profile for a picture of the given upright size, named after name (the
// group's prefix and number): each format at the intended size (OutputSize.h), then, with
// Double, each again at exactly twice that size, which is not made when it would be larger
// than the picture. A profile without the web options gives exactly the one JPEG it always
// gave.
std::vector<ProfileOutput> profileOutputs(const OutputProfile& profile, QSize picture,
                                          const QString& name);
