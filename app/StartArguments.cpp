#include "app/StartArguments.h"

#include "base/LocalFile.h"

#include <QCoreApplication>

StartArguments::StartArguments(const QStringList& arguments)
{
    bool options = true;
    for (const QString& argument : arguments) {
        if (!options || argument == u'-' || !argument.startsWith(u'-'))
            takeFile(argument);
        else if (argument == QLatin1String("--"))
            options = false;
        else if (argument == QLatin1String("--help"))
            m_action = Action::ShowHelp;
        else if (argument == QLatin1String("--version") && m_action != Action::ShowHelp)
            m_action = Action::ShowVersion;
        else if (m_error.isEmpty())
            m_error =
                QCoreApplication::translate("StartArguments", "unknown option %1").arg(argument);
    }
}

QString StartArguments::usage()
{
    return QCoreApplication::translate(
        "StartArguments", "Usage: morvane [FILE]...\n"
                          "Starts Morvane with the pictures FILE... in its list, as if added "
                          "with Add.\n"
                          "\n"
                          "  --help     show this help\n"
                          "  --version  show the version\n"
                          "\n"
                          "Qt's own options, such as -platform NAME, are understood as well.\n");
}

void StartArguments::takeFile(const QString& path)
{
    const QString absolute = absolutePath(path);
    switch (fileKind(absolute)) {
    case FileKind::File:
        m_pictures << absolute;
        break;
    case FileKind::Folder:
        m_notListed
            << QCoreApplication::translate("StartArguments", "%1: is a folder").arg(absolute);
        break;
    case FileKind::Missing:
        m_notListed
            << QCoreApplication::translate("StartArguments", "%1: no such file").arg(absolute);
        break;
    }
}
