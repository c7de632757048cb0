#include "settings/ImageSettings.h"

std::array<SettingsField, 17> ImageSettings::fields()
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
