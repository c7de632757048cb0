#pragma once

#include <QString>

#include <system_error>

// Renames a file unless the new name is taken, whether by another file or by this one
// (std::errc::file_exists). Empty when renamed; on failure the file keeps its old name.
std::error_code renameNoReplace(const QString& from, const QString& to);
