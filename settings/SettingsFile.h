#pragma once

#include <QString>

#include <optional>
#include <span>
#include <variant>

// An integer field that holds a choice among a few values: a value that is not exactly a
// decimal integer ("TLS", "2x", nothing) reads as notAnInteger, never as 0, so that a value
// the program cannot use is refused where it is used instead of meaning the first choice.
struct ExactInteger
{
    int* value;
    int notAnInteger;
};

// One "Key = value" line of a settings file, bound to the field that holds its value.
struct SettingsField
{
    const char* key;
    std::variant<QString*, int*, ExactInteger> value;
};

// The line format shared by morvane.cfg and ftpsettings.cfg. The fields are given in the
// file's order, which is both the order they are written in and the order keys are
// recognised in.
namespace SettingsFile {

// Reads the file into the fields it names; fields it does not name keep their values.
// Returns false, changing nothing, when the file cannot be opened.
bool load(const QString& path, std::span<const SettingsField> fields);

// Who may read the file once saved.
enum class Access
{
    Usual,        // a new file gets the usual permissions, an existing one keeps its own
    NewOwnerOnly, // a new file is readable by its owner only, an existing one keeps its own
    OwnerOnly,    // the file is readable by its owner only, whatever it was before
};

// Replaces the file atomically, with the permissions access asks for set before any field is
// written. Returns false when nothing was written.
bool save(const QString& path, std::span<const SettingsField> fields,
          Access access = Access::Usual);

// Lines longer than this are skipped unread: no setting is that long, and a line of
// hundreds of megabytes would otherwise be held whole.
constexpr qint64 longestLine = 64 * 1024;

// The decimal integer at the start of text: optional sign, then digits; no digits gives 0.
int leadingInteger(const QString& text);

// The decimal integer text is exactly (optional sign, then digits); none for anything else.
std::optional<int> exactInteger(const QString& text);

} // namespace SettingsFile
