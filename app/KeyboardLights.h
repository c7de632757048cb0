#pragma once

#include <optional>

// Whether the keyboard light of that name ("Caps Lock", "Num Lock", "Scroll Lock") is on;
// none where the windowing system does not report it.
std::optional<bool> keyboardLightState(const char* name);
