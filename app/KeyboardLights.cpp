#include "app/KeyboardLights.h"

#include <QGuiApplication>

// Xlib's macros clash with Qt's names, so it is included here only.
#include <X11/XKBlib.h>

std::optional<bool> keyboardLightState(const char* name)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->display())
        return std::nullopt;
    Display* display = x11->display();
    const Atom atom = XInternAtom(display, name, True);
    Bool on = False;
    if (atom == None || !XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
        return std::nullopt;
    return on == True;
}
