#pragma once

#include "settings/SettingsFile.h"

#include <QString>

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
    // Non-zero: prefixes in lower-case ASCII and numbers as wide as a group's largest (see
    // GroupNaming); 0, as when the key is missing, prefixes as typed and two-digit numbers.
    int WebSafeNames = 0;

    static constexpr const char* fileName = "morvane.cfg";

    // Missing files and keys leave the fields as they are.
    bool load(const QString& path = fileName);
    bool save(const QString& path = fileName);

private:
    std::array<SettingsField, 17> fields();
};
