#include "imaging/ProfileOutputs.h"

#include "imaging/OutputSize.h"
#include "imaging/PictureEncoder.h"

std::vector<OutputFormat> profileFormats(const OutputProfile& profile)
{
    std::vector<OutputFormat> formats{OutputFormat::Jpeg};
    if (profile.Webp)
        formats.push_back(OutputFormat::Webp);
    if (profile.Avif)
        formats.push_back(OutputFormat::Avif);
    return formats;
}

QString outputFileName(const OutputProfile& profile, OutputFormat format, int density,
                       const QString& name)
{
    return name + profile.Extension + (density == 2 ? QStringLiteral("@2x") : QString()) +
           pictureEncoder(format).suffix();
}

QStringList possibleFileNames(const OutputProfile& profile, const QString& name)
{
    QStringList names;
    for (int density : {1, 2}) {
        if (density == 2 && !profile.Double)
            break;
        for (OutputFormat format : profileFormats(profile))
            names << outputFileName(profile, format, density, name);
    }
    return names;
}

std::vector<ProfileOutput> profileOutputs(const OutputProfile& profile, QSize picture,
                                          const QString& name)
{
    const QSizeF single = intendedSize(profile, picture);
    const QSizeF twice = 2 * single;
    std::vector<int> densities{1};
    // Twice nothing is nothing, and a double version scaled up from the picture would only
    // be a blurred copy of the single one.
    if (profile.Double && single.width() >= 1 && single.height() >= 1 &&
        twice.width() <= picture.width() && twice.height() <= picture.height())
        densities.push_back(2);

    std::vector<ProfileOutput> outputs;
    for (int density : densities) {
        for (OutputFormat format : profileFormats(profile)) {
            outputs.push_back({format, density,
                               usableSize(density * single, pictureEncoder(format).largestSide()),
                               outputFileName(profile, format, density, name)});
        }
    }
    return outputs;
}
