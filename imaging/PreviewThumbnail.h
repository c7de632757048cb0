#pragma once

#include <QString>

#include <functional>

class BusyFlag;
class ColourTransforms;

// Decodes the picture upright and in sRGB (profiles looked up in transforms), scales it into
// the 117-pixel preview box and writes it as a JPEG of quality 100 to previewPath, holding
// busy only while the file is written. Returns false, writing nothing, when the picture
// cannot be decoded or, asked while busy is held, isWanted says a later preview has taken its
// place.
bool WritePreviewFile(const QString& picturePath, const QString& previewPath, BusyFlag& busy,
                      const std::function<bool()>& isWanted, ColourTransforms& transforms);
