#pragma once

#include "settings/SettingsFile.h"

#include <QString>
#include <QStringList>

#include <array>

// How one kind of output (thumbnail or large image) is sized, encoded, named and stored.
struct OutputProfile
{
    QString SaveDir;
    int Width = 0;
    int Height = 0;
    int UseWidth = 0;
    int UseHeight = 0;
    int Quality = 0;
    QString Extension; // inserted between the running number and ".jpg"
};

// The image settings, kept in morvane.cfg.
struct ImageSettings
{
    OutputProfile thumbnail;
    OutputProfile large;
    int RenameOriginalFile = 0;
    QString OriginalExtension;

    static constexpr const char* fileName = "morvane.cfg";

    // Missing files and keys leave the fields as they are.
    bool load(const QString& path = fileName);
    bool save(const QString& path = fileName);

    // The keys of the extensions a run would put into file names that cannot be part of one:
    // a "/" would put outputs, or renamed photographs, into other folders, and a NUL byte
    // would cut the name short. OriginalExtension counts only when originals are renamed.
    QStringList unusableExtensions() const;

private:
    std::array<SettingsField, 16> fields();
};
