#pragma once

#include "settings/ImageSettings.h"
#include "base/ImageEntry.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

class BatchObserver;

// One picture of the list with the text of its group cell: "1" to "5", or empty for none.
struct BatchRow
{
    ImageEntry entry;
    QString group;
};

// The paths written, in the order of writing.
struct GeneratedImages
{
    QStringList thumbnails;
    QStringList largeImages;
};

// Writes a thumbnail and a large image for every grouped row, named by the group's prefix
// (groupText[g - 1] for group g) and a two-digit number counted per group, and renames the
// sources to the same scheme when the settings ask for it.
GeneratedImages GenerateImages(const std::vector<BatchRow>& rows,
                               const std::array<QString, 5>& groupText,
                               const ImageSettings& settings, BatchObserver& observer);
