#include "app/CMainFrame.h"
#include "app/CMorvaneApp.h"
#include "app/StartArguments.h"
#include "base/LocalFile.h"
#include "base/ReportEscape.h"
#include "base/Translations.h"

#include <QApplication>

#include <cstdio>

namespace {

enum ExitStatus
{
    closed = 0,
    couldNotStart = 1,
    badArguments = 2
};

// Qt aborts without a display; say what to do instead. Qt's -platform option (also written
// --platform) names a platform that may need none, such as offscreen.
bool hasDisplay(const QStringList& arguments)
{
    const bool platformGiven = arguments.contains(QLatin1String("-platform")) ||
                               arguments.contains(QLatin1String("--platform"));
    return platformGiven || qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ||
           qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

void write(std::FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

int main(int argc, char* argv[])
{
    // Help and version answer before Qt looks for a display.
    const QStringList given = commandLineArguments(argc, argv);
    const StartArguments early(given);
    if (early.action() == StartArguments::Action::ShowHelp) {
        // The help is read in the user's language too, still without a display.
        const QCoreApplication translated(argc, argv);
        installTranslations();
        write(stdout, StartArguments::usage());
        return closed;
    }
    if (early.action() == StartArguments::Action::ShowVersion) {
        write(stdout, QStringLiteral("morvane " MORVANE_VERSION "\n"));
        return closed;
    }
    if (!hasDisplay(given)) {
        const QCoreApplication translated(argc, argv);
        installTranslations();
        write(stderr, QStringLiteral("morvane: %1\n")
                          .arg(QCoreApplication::translate(
                                   "main", "no display found; start it on a desktop, or without "
                                           "one under a virtual display: xvfb-run %1")
                                   .arg(QString::fromLocal8Bit(argv[0]))));
        return couldNotStart;
    }

    QApplication application(argc, argv);
    installTranslations();
    QApplication::setApplicationName(QStringLiteral("Morvane"));
    // Lets the desktop match the window to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.quarnel.Morvane"));
    // Read again now that Qt has taken out its own options, such as -platform.
    const StartArguments arguments(commandLineArguments(argc, argv));
    if (!arguments.isValid()) {
        write(stderr, QStringLiteral("morvane: %1\n\n").arg(escapeForReport(arguments.error())) +
                          StartArguments::usage());
        return badArguments;
    }
    for (const QString& line : arguments.notListed())
        write(stderr, QStringLiteral("morvane: %1\n").arg(escapeForReport(line)));

    QtPrompter prompter;
    CMorvaneApp app(prompter);
    if (!app.InitInstance(arguments.pictures()))
        return couldNotStart;
    return QApplication::exec();
}
