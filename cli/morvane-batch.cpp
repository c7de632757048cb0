// morvane-batch: the window's Generate and Generate / Upload, run from the command line.

#include "base/LocalFile.h"
#include "base/ReportEscape.h"
#include "base/Translations.h"
#include "cli/BatchArguments.h"
#include "cli/BatchReporter.h"
#include "cli/Interruption.h"
#include "cli/ListedPictures.h"
#include "cli/UndoRenames.h"
#include "publish/PublishJob.h"
#include "upload/NetworkLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <cstdio>

#include <unistd.h>

namespace {

enum ExitStatus
{
    everythingMade = 0,
    somethingFailed = 1,
    badArguments = 2,
};

void write(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

int refuse(const QString& reason)
{
    write(stderr, QStringLiteral("morvane-batch: %1\n\n").arg(escapeForReport(reason)) +
                      BatchArguments::usage());
    return badArguments;
}

} // namespace

int main(int argc, char* argv[])
{
    const QStringList given = commandLineArguments(argc, argv);
    const QCoreApplication application(argc, argv);
    // Reports in the user's language; standard output, which scripts read, stays English.
    installTranslations();
    const BatchArguments arguments(given);
    // The window's name, so both keep their data, the records of renames and of uploads, in
    // one folder.
    QCoreApplication::setApplicationName(QStringLiteral("Morvane"));
    if (!arguments.isValid())
        return refuse(arguments.error());
    const BatchJob& job = arguments.job();
    if (job.action == BatchJob::Action::UndoRenames) {
        QFile errors, output;
        errors.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
        output.open(stdout, QIODevice::WriteOnly | QIODevice::Unbuffered);
        return undoRenames(job.renameRecord, errors, output) ? everythingMade : somethingFailed;
    }
    if (job.action == BatchJob::Action::ShowHelp) {
        write(stdout, BatchArguments::usage());
        return everythingMade;
    }
    if (job.action == BatchJob::Action::ShowVersion) {
        write(stdout, QStringLiteral("morvane-batch " MORVANE_VERSION "\n"));
        return everythingMade;
    }
    if (!job.configDir.isEmpty() && fileKind(job.configDir) != FileKind::Folder)
        return refuse(
            QCoreApplication::translate("morvane-batch", "--config-dir %1: no such directory")
                .arg(job.configDir));

    const NetworkLibrary network;
    if (!network.isReady()) {
        write(stderr, QCoreApplication::translate("morvane-batch",
                                                  "Windows sockets initialization failed.") +
                          u'\n');
        return somethingFailed;
    }
    const QDir configDir(job.configDir.isEmpty() ? QDir::currentPath() : job.configDir);
    PublishRequest request;
    request.imageSettings.load(configDir.filePath(ImageSettings::fileName));
    request.ftpSettings.load(configDir.filePath(FtpSettings::fileName));
    request.groupText = job.groupText;
    request.upload = job.upload;
    request.dryRun = job.dryRun;
    if (job.removeStale)
        request.ftpSettings.RemoveStale = 1;
    request.removeEveryStaleFile = job.removeEveryStaleFile;

    QFile errors;
    errors.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    BatchReporter reporter(errors, isatty(fileno(stderr)));
    ListedPictures listed = ListedPictures::fromFiles(job.files);
    for (const QString& path : listed.missing)
        reporter.missing(path);
    request.rows = std::move(listed.rows);

    const Interruption interruption;
    PublishJob publisher(interruption.flag());
    const PublishResult result = publisher.run(request, reporter, reporter);
    if (interruption.requested())
        write(stderr, QStringLiteral("morvane-batch: %1\n")
                          .arg(QCoreApplication::translate("morvane-batch", "interrupted")));
    if (result.upload && result.upload->dryRun)
        write(stdout, BatchReporter::planLines(*result.upload).join(u'\n') +
                          (result.upload->plan.empty() ? QString() : QStringLiteral("\n")));
    write(stdout, reporter.summary(int(request.rows.size()), result) + u'\n');
    if (interruption.requested())
        return interruption.exitStatus();
    return result.complete() && reporter.failures() == 0 ? everythingMade : somethingFailed;
}
