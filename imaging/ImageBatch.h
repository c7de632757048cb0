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

// What a run did: the paths written, in the order of writing (a path whose file could not be
// written is not among them), and how many pictures fared how.
struct GeneratedImages
{
    QStringList thumbnails;
    QStringList largeImages;
    int picturesToMake = 0;  // the grouped rows
    int picturesMade = 0;    // grouped rows with every output of the run written
    int unreadable = 0;      // pictures that could not be read
    int outputsNotMade = 0;  // outputs of readable pictures not made or not written
    int renamed = 0;         // sources renamed
    int renameFailures = 0;  // renames that failed, a name taken not counted
    bool thumbnailsSkipped = false; // no thumbnails at all: their save directory is missing
    bool largeImagesSkipped = false; // the same for large images
    bool refused = false;    // nothing was touched: the settings or group names do not allow a run
    bool stopped = false;    // a stop came before every grouped row was written

    // True when every grouped row was made and renamed as asked.
    bool complete() const
    {
        return !refused && !stopped && !thumbnailsSkipped && !largeImagesSkipped &&
               picturesMade == picturesToMake && renameFailures == 0;
    }
};

// How a run spreads its work, and how it ends early.
struct BatchControl
{
    // Pictures are decoded, scaled and encoded on this many threads. Files are written, and
    // every report made, on the calling thread in row order whatever the number, so the
    // outcome is the same for one thread and for many.
    int threads = QThread::idealThreadCount();
    // Once this is set (a signal handler or another thread may set it), no further row is
    // written or renamed; the row being written is finished first.
    const std::atomic<bool>* stop = nullptr;
};

// Writes a thumbnail and a large image for every grouped row, named by the group's prefix
// (groupText[g - 1] for group g) and a two-digit number counted per group, and renames the
// sources to the same scheme when the settings ask for it. It blocks the calling thread
// until the run is over; a window runs it on a thread of its own.
GeneratedImages GenerateImages(const std::vector<BatchRow>& rows,
                               const std::array<QString, 5>& groupText,
                               const ImageSettings& settings, BatchObserver& observer,
                               const BatchControl& control = {});
