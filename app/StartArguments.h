#pragma once

#include <QString>
#include <QStringList>

// The command line of morvane: --help, --version, and the pictures to start with, which the
// list takes as Add takes the files chosen in its dialog. The arguments come as
// commandLineArguments() gives them, so any file name is found.
class StartArguments
{
public:
    enum class Action
    {
        Run,
        ShowHelp,
        ShowVersion
    };

    // The arguments without the program's name. Help and version win over everything else,
    // so they can be asked for before Qt has taken out its own options.
    explicit StartArguments(const QStringList& arguments);

    Action action() const { return m_action; }
    bool isValid() const { return m_error.isEmpty(); }
    // Why the arguments were refused, in one line.
    QString error() const { return m_error; }
    // The files to list, absolute, in the order given.
    const QStringList& pictures() const { return m_pictures; }
    // One line for each file given that cannot be listed: it is missing or a folder.
    const QStringList& notListed() const { return m_notListed; }

    static QString usage();

private:
    void takeFile(const QString& path);

    Action m_action = Action::Run;
    QString m_error;
    QStringList m_pictures;
    QStringList m_notListed;
};
