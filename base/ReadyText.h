#pragma once

#include <QCoreApplication>
#include <QString>

// The status text of the program at rest, in the user's language: the window's message bar
// and the end of a complete run say it alike.
inline QString readyText()
{
    return QCoreApplication::translate("Status", "Ready");
}
