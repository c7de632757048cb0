#include "cli/BatchArguments.h"

#include <QCoreApplication>

#include <optional>

namespace {

// A group number 1 to 5 written plainly in decimal.
std::optional<int> groupNumber(const QString& text)
{
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number < 1 || number > 5 || text != QString::number(number))
        return std::nullopt;
    return number;
}

} // namespace

BatchArguments::BatchArguments(const QStringList& arguments) : m_arguments(arguments)
{
    while (m_next < m_arguments.size() && m_job.action == BatchJob::Action::Run) {
        if (!takeNext())
            return;
    }
    if (m_job.action != BatchJob::Action::Run)
        return;
    if (m_job.files.empty())
        m_error = QCoreApplication::translate("BatchArguments", "no pictures given");
    else if (m_job.dryRun && !m_job.upload)
        m_error = QCoreApplication::translate("BatchArguments", "--dry-run goes with --upload");
    else if (m_job.removeStale && !m_job.upload)
        m_error =
            QCoreApplication::translate("BatchArguments", "--remove-stale goes with --upload");
}

QString BatchArguments::usage()
{
    return QCoreApplication::translate(
        "BatchArguments",
        "Usage: morvane-batch [--upload [--dry-run] [--remove-stale[=all]]] [--config-dir DIR] "
        "[--prefix N=TEXT]... [--group N] FILE... [--group M] FILE...\n"
        "       morvane-batch --undo-renames [FILE]\n"
        "Writes a thumbnail and a large image of every grouped picture, as Morvane's Generate "
        "button does.\n"
        "\n"
        "  --upload          then upload them, as Generate / Upload does: the files the\n"
        "                    server does not have as they are\n"
        "  --dry-run         with --upload: print what would be sent, skipped and removed,\n"
        "                    one file a line, and send nothing\n"
        "  --remove-stale    with --upload: remove from the remote folders the files an\n"
        "                    earlier upload put there that this set no longer makes (up to\n"
        "                    50; =all for any number), when everything else went through\n"
        "  --config-dir DIR  read morvane.cfg and ftpsettings.cfg from DIR instead of the\n"
        "                    working directory; they are never written\n"
        "  --prefix N=TEXT   the name prefix of group N (1 to 5); empty when not given\n"
        "  --group N         put the files that follow into group N (1 to 5), or \"none\" to\n"
        "                    list them without a group; files before the first --group are\n"
        "                    in group 1\n"
        "  --undo-renames [FILE]\n"
        "                    rename back the originals that the last run renamed, as the\n"
        "                    record of renames lists them (FILE, or the one Morvane keeps);\n"
        "                    given alone\n"
        "  --help            show this help\n"
        "  --version         show the version\n");
}

bool BatchArguments::takeNext()
{
    const QString argument = m_arguments[m_next++];
    QString value;
    if (argument == QLatin1String("--help"))
        m_job.action = BatchJob::Action::ShowHelp;
    else if (argument == QLatin1String("--version"))
        m_job.action = BatchJob::Action::ShowVersion;
    else if (argument == QLatin1String("--upload"))
        m_job.upload = true;
    else if (argument == QLatin1String("--dry-run"))
        m_job.dryRun = true;
    else if (argument == QLatin1String("--remove-stale"))
        m_job.removeStale = true;
    else if (argument == QLatin1String("--remove-stale=all"))
        m_job.removeStale = m_job.removeEveryStaleFile = true;
    else if (argument == QLatin1String("--config-dir"))
        return takeValue(argument, m_job.configDir);
    else if (argument == QLatin1String("--group"))
        return takeValue(argument, value) && takeGroup(value);
    else if (argument == QLatin1String("--prefix"))
        return takeValue(argument, value) && takePrefix(value);
    else if (argument == QLatin1String("--undo-renames"))
        return takeUndo();
    else if (argument.startsWith(u'-') && argument.size() > 1)
        m_error = QCoreApplication::translate("BatchArguments", "unknown option %1").arg(argument);
    else
        m_job.files.push_back({argument, m_group});
    return m_error.isEmpty();
}

bool BatchArguments::takeValue(const QString& option, QString& value)
{
    if (m_next == m_arguments.size()) {
        m_error = QCoreApplication::translate("BatchArguments", "%1 needs a value").arg(option);
        return false;
    }
    value = m_arguments[m_next++];
    return true;
}

bool BatchArguments::takeGroup(const QString& value)
{
    if (value == QLatin1String("none")) {
        m_group.clear();
        return true;
    }
    const std::optional<int> group = groupNumber(value);
    if (!group) {
        m_error =
            QCoreApplication::translate("BatchArguments", "--group %1: the group is 1 to 5 or none")
                .arg(value);
        return false;
    }
    m_group = QString::number(*group);
    return true;
}

bool BatchArguments::takePrefix(const QString& value)
{
    const qsizetype equals = value.indexOf(u'=');
    if (equals < 0) {
        m_error = QCoreApplication::translate("BatchArguments", "--prefix %1: write it as N=TEXT")
                      .arg(value);
        return false;
    }
    const std::optional<int> group = groupNumber(value.left(equals));
    if (!group) {
        m_error = QCoreApplication::translate("BatchArguments", "--prefix %1: the group is 1 to 5")
                      .arg(value);
        return false;
    }
    m_job.groupText[*group - 1] = value.mid(equals + 1);
    return true;
}

// An undo renames nothing but what the record names, so nothing else may come with it.
bool BatchArguments::takeUndo()
{
    const QString alone = QCoreApplication::translate(
        "BatchArguments", "--undo-renames takes no other options or files");
    if (m_next != 1) {
        m_error = alone;
        return false;
    }
    m_job.action = BatchJob::Action::UndoRenames;
    while (m_next < m_arguments.size()) {
        const QString argument = m_arguments[m_next++];
        if (argument == QLatin1String("--help")) {
            m_job.action = BatchJob::Action::ShowHelp;
            return true;
        }
        if (argument == QLatin1String("--version")) {
            m_job.action = BatchJob::Action::ShowVersion;
            return true;
        }
        if ((argument.startsWith(u'-') && argument.size() > 1) || !m_job.renameRecord.isEmpty()) {
            m_error = alone;
            return false;
        }
        m_job.renameRecord = argument;
    }
    return true;
}
