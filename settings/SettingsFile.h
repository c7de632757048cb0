#pragma once

#include <QFileDevice>
#include <QString>

#include <optional>
#include <span>
#include <variant>

// One "Key = value" line of a settings file, bound to the field that holds its value.
struct SettingsField
{
    const char* key;
    std::variant<QString*, int*> value;
};

// The line format shared by morvane.cfg and ftpsettings.cfg. The fields are given in the
// file's order, which is both the order they are written in and the order keys are
// recognised in.
namespace SettingsFile {

// Reads the file into the fields it names; fields it does not name keep their values.
// Returns false, changing nothing, when the file cannot be opened.
bool load(const QString& path, std::span<const SettingsField> fields);

// Replaces the file atomically. An existing file keeps its permissions; a new one gets
// newFilePermissions when given, else the usual ones. Returns false when nothing was written.
bool save(const QString& path, std::span<const SettingsField> fields,
          std::optional<QFileDevice::Permissions> newFilePermissions = std::nullopt);

// The decimal integer at the start of text: optional sign, then digits; no digits gives 0.
int leadingInteger(const QString& text);

} // namespace SettingsFile
