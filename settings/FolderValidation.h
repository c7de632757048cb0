#pragma once

#include <QString>
#include <QStringView>

// Checks (checkOnly) or creates an absolute folder path, level by level from "/".
// 0: the form is accepted, or in create mode every level exists; 1: the path is malformed;
// 2 (create mode only): a level is still missing after the attempt to create it.
// Check mode looks at the form only and never touches the file system.
int WalkFolderPath(const QString& path, bool checkOnly);

// A path component: not empty, no space, tab or full stop at either end, and none of
// " * / : < > ? \ |.
bool IsValidFolderName(QStringView name);
