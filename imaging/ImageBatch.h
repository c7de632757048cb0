#pragma once

#include "base/ImageEntry.h"
#include "settings/ImageSettings.h"

#include <QString>
#include <QStringList>
#include <QThread>

#include <array>
#include <atomic>
#include <vector>

class BatchObserver;

// One picture of the list with the text of its group cell: "1" to "5", or empty for none.
struct BatchRow
{
    ImageEntry entry;
    QString group;
};

// The paths written, in the order of writing. A path whose file could not be written is
// not among them.
struct GeneratedImages
{
    QStringList thumbnails;
    QStringList largeImages;
};

// How a run spreads its work, and how it ends early.
struct BatchControl
{
    // Pictures are decoded, scaled and encoded on this many threads. Files are written, and
    // every report made, on the calling thread in row order whatever the number, so the
    // outcome is the same for one thread and for many.
    int threads = QThread::idealThreadCount();
    // Once this is set (a signal handler may set it), no further row is written or renamed;
    // the row being written is finished first.
    const std::atomic<bool>* stop = nullptr;
};

// Writes a thumbnail and a large image for every grouped row, named by the group's prefix
// (groupText[g - 1] for group g) and a two-digit number counted per group, and renames the
// sources to the same scheme when the settings ask for it. While it waits for pictures the
// calling thread goes on painting and firing timers, but takes no user input.
GeneratedImages GenerateImages(const std::vector<BatchRow>& rows,
                               const std::array<QString, 5>& groupText,
                               const ImageSettings& settings, BatchObserver& observer,
                               const BatchControl& control = {});
