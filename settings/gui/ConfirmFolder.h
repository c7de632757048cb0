#pragma once

#include <QString>

class Prompter;

// Accepts a folder path for use: 0 when it exists or was created after the user agreed,
// -1 when the user declined to create it, 1 when it is malformed, 2 when a level could not
// be created. Failures are reported through the prompter.
int ConfirmFolder(const QString& path, Prompter& prompter);
