#pragma once

#include <QString>

// Renames a file unless the new name is taken, whether by another file or by this one.
// On failure the file keeps its old name.
bool renameNoReplace(const QString& from, const QString& to);
