#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

// Where the main window opens when no place is remembered: centred at the size its form asks
// for when that fits the screen's free area with the window's frame, else filling as much of
// that area as it may, so the status bar is never below the screen. The result is the
// window's inside, without its frame.
QRect initialWindowGeometry(QSize wanted, QSize minimum, QMargins frame, QRect available);
