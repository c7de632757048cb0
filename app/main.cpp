#include "app/CMorvaneApp.h"
#include "app/CMainFrame.h"

#include <QApplication>

#include <cstdio>

namespace {

// Qt aborts without a display; say what to do instead.
bool hasDisplay()
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
           qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char* argv[])
{
    if (!hasDisplay()) {
        std::fprintf(stderr, "morvane: no display found; start it on a desktop, or without one "
                             "under a virtual display: xvfb-run %s\n",
                     argv[0]);
        return 1;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Morvane"));
    QtPrompter prompter;
    CMorvaneApp app(prompter);
    if (!app.InitInstance())
        return 1;
    return QApplication::exec();
}
