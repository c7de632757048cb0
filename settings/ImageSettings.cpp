#include "settings/ImageSettings.h"

#include <QCoreApplication>

// The sixteen keys first, in their order, then the web output keys: a file written before
// those existed lacks them, and so keeps giving exactly the outputs it gave.
std::array<SettingsField, 30> ImageSettings::fields()
{
    return {{
        {"LargeExtension", &large.Extension},
        {"LargeHeight", &large.Height},
        {"LargeQuality", &large.Quality},
        {"LargeSaveDir", &large.SaveDir},
        {"LargeUseHeight", &large.UseHeight},
        {"LargeUseWidth", &large.UseWidth},
        {"LargeWidth", &large.Width},
        {"ThumbExtension", &thumbnail.Extension},
        {"ThumbHeight", &thumbnail.Height},
        {"ThumbQuality", &thumbnail.Quality},
        {"ThumbSaveDir", &thumbnail.SaveDir},
        {"ThumbUseHeight", &thumbnail.UseHeight},
        {"ThumbUseWidth", &thumbnail.UseWidth},
        {"ThumbWidth", &thumbnail.Width},
        {"RenameOriginalFile", &RenameOriginalFile},
        {"OriginalExtension", &OriginalExtension},
        {"ThumbWebp", &thumbnail.Webp},
        {"ThumbAvif", &thumbnail.Avif},
        {"ThumbDouble", &thumbnail.Double},
        {"ThumbKeepRatio", &thumbnail.KeepRatio},
        {"ThumbNoEnlarge", &thumbnail.NoEnlarge},
        {"LargeWebp", &large.Webp},
        {"LargeAvif", &large.Avif},
        {"LargeDouble", &large.Double},
        {"LargeKeepRatio", &large.KeepRatio},
        {"LargeNoEnlarge", &large.NoEnlarge},
        {"ProgressiveJpeg", &ProgressiveJpeg},
        {"KeepCredits", &KeepCredits},
        {"WriteMarkup", &WriteMarkup},
        {"WebSafeNames", &WebSafeNames},
    }};
}

bool ImageSettings::load(const QString& path)
{
    return SettingsFile::load(path, fields());
}

bool ImageSettings::save(const QString& path)
{
    return SettingsFile::save(path, fields());
}

std::vector<NamedProfile> ImageSettings::profiles() const
{
    return {
        {thumbnail, QStringLiteral(QT_TRANSLATE_NOOP("ImageSettings", "thumbnails")),
         QCoreApplication::translate("ImageSettings", "Thumbnail Properties"),
         QCoreApplication::translate("ImageSettings",
                                     "Invalid thumbnail directory. Check Image Property settings "
                                     "under Options.")},
        {large, QStringLiteral(QT_TRANSLATE_NOOP("ImageSettings", "large images")),
         QCoreApplication::translate("ImageSettings", "Image Properties"),
         QCoreApplication::translate("ImageSettings",
                                     "Invalid large image directory. Check Image Property settings "
                                     "under Options.")},
    };
}

QString NamedProfile::outputsText(const QString& outputs)
{
    return QCoreApplication::translate("ImageSettings", outputs.toUtf8().constData());
}

QStringList ImageSettings::unusableExtensions() const
{
    const auto unusable = [](const QString& extension) {
        return extension.contains(u'/') || extension.contains(QChar(u'\0'));
    };
    QStringList keys;
    if (unusable(large.Extension))
        keys << QStringLiteral("LargeExtension");
    if (unusable(thumbnail.Extension))
        keys << QStringLiteral("ThumbExtension");
    if (RenameOriginalFile && unusable(OriginalExtension))
        keys << QStringLiteral("OriginalExtension");
    return keys;
}
