#pragma once

#include "settings/SettingsFile.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

// How one kind of output (thumbnail or large image) is sized, encoded, named and stored.
struct OutputProfile
{
    QString SaveDir;
    int Width = 0;
    int Height = 0;
    int UseWidth = 0;
    int UseHeight = 0;
    int Quality = 0;
    QString Extension; // inserted between the running number and the file type
    // Beside the JPEG, the same picture as WebP and as AVIF.
    int Webp = 0;
    int Avif = 0;
    // Every format again at twice the size, for high-density screens.
    int Double = 0;
    // With both Width and Height used, fit inside them instead of stretching.
    int KeepRatio = 0;
    // An output never larger than the picture: its own size is used instead.
    int NoEnlarge = 0;
};

// One output profile as a run goes through them, with the words its reports use for it.
struct NamedProfile
{
    OutputProfile profile;
    // What its files are called in a count: "thumbnails". Kept in English, as the summary line
    // of morvane-batch names them so for scripts; messages show outputsText(outputs).
    QString outputs;
    QString title;            // its box in Image Properties: "Thumbnail Properties"
    QString missingDirectory; // the message when its save directory does not exist

    // `outputs` in the user's language.
    static QString outputsText(const QString& outputs);
};

// The image settings, kept in morvane.cfg.
struct ImageSettings
{
    OutputProfile thumbnail;
    OutputProfile large;
    int RenameOriginalFile = 0;
    QString OriginalExtension;
    int ProgressiveJpeg = 0;
    // The picture's EXIF Artist and Copyright go into every output, and nothing else.
    int KeepCredits = 0;
    // An HTML fragment per group, beside the thumbnails.
    int WriteMarkup = 0;
    // Non-zero: prefixes in lower-case ASCII and numbers as wide as a group's largest (see
    // GroupNaming); 0, as when the key is missing, prefixes as typed and two-digit numbers.
    int WebSafeNames = 0;

    static constexpr const char* fileName = "morvane.cfg";

    // The profiles every run makes outputs of, in the order it makes them: thumbnails, then
    // large images. The HTML fragments lie in the first profile's folder and show its
    // pictures, each linked to the JPEG of the last profile.
    std::vector<NamedProfile> profiles() const;

    // Missing files and keys leave the fields as they are.
    bool load(const QString& path = fileName);
    bool save(const QString& path = fileName);

    // The keys of the extensions a run would put into file names that cannot be part of one:
    // a "/" would put outputs, or renamed photographs, into other folders, and a NUL byte
    // would cut the name short. OriginalExtension counts only when originals are renamed.
    QStringList unusableExtensions() const;

private:
    std::array<SettingsField, 30> fields();
};
