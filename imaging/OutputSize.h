#pragma once

#include "settings/ImageSettings.h"

#include <QSize>

#include <optional>

// The size of one output scaled from a source of the given size: a fixed side where the
// profile asks for it, the other one following the source's aspect. None when a side comes
// out below one pixel or beyond what an int holds.
std::optional<QSize> outputSize(const OutputProfile& profile, QSize source);
