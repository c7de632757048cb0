#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A temporary home for one test program. The settings files, the preview file, the per-user
// store of the last folder added from and the record of what was uploaded all land in it,
// never in the tester's own.
class TestHome : public QTemporaryDir
{
public:
    // Makes the home the working directory, the per-user settings folder and the user's data
    // folder; call it before anything reads the per-user settings.
    bool enter()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(filePath(QStringLiteral("config"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(filePath(QStringLiteral("data"))));
        return isValid() && QDir::setCurrent(path());
    }
};
