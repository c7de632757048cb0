#pragma once

#include "base/ImageEntry.h"
#include "settings/ImageSettings.h"

#include <QString>
#include <QStringList>
#include <QThread>

#include <algorithm>
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

// What a run wrote of one profile.
struct ProfileFiles
{
    QString outputs;     // what the profile's files are called in a count: "thumbnails"
    // Every file written, in the order of writing: row by row, each row's outputs in the
    // order the profile lists them (every format at 1x, then at 2x). A file that could not be
    // written is not among them.
    QStringList written;
    bool skipped = false; // its save directory is missing: none of its outputs was made
};

// What a run did: the files written, and how many pictures fared how.
struct GeneratedImages
{
    std::vector<ProfileFiles> profiles; // as ImageSettings::profiles() lists them
    // The HTML fragments written, one per group used, in the first profile's folder.
    QStringList fragments;
    int picturesToMake = 0;      // the grouped rows
    int picturesMade = 0;        // grouped rows with every output of the run written
    int unreadable = 0;          // pictures that could not be read
    int outputsNotMade = 0;      // outputs of readable pictures not made or not written
    int fragmentsNotWritten = 0; // HTML fragments that could not be written
    int renamed = 0;             // sources renamed
    int renameFailures = 0;      // renames that failed, a name taken not counted
    bool refused = false; // nothing was touched: the settings or group names do not allow a run
    bool stopped = false; // a stop came before every grouped row was written

    // True when a profile was left out for want of its save directory.
    bool profileSkipped() const
    {
        return std::any_of(profiles.begin(), profiles.end(),
                           [](const ProfileFiles& files) { return files.skipped; });
    }
    // True when every grouped row was made and renamed as asked.
    bool complete() const
    {
        return !refused && !stopped && !profileSkipped() && picturesMade == picturesToMake &&
               renameFailures == 0 && fragmentsNotWritten == 0;
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
    // With WriteMarkup, where the HTML fragments find the large images: the path from the
    // thumbnails' folder on the site to theirs ("../images"; empty for the same folder).
    QString markupLinkFolder;
};

// Writes the outputs of every profile (ImageSettings::profiles) for every grouped row, named
// by the group's prefix (groupText[g - 1] for group g) and a number counted per group, and
// renames the sources to the same scheme when the settings ask for it; with WriteMarkup, then
// one HTML fragment per group used. It blocks the calling thread until the run is over; a
// window runs it on a thread of its own.
GeneratedImages GenerateImages(const std::vector<BatchRow>& rows,
                               const std::array<QString, 5>& groupText,
                               const ImageSettings& settings, BatchObserver& observer,
                               const BatchControl& control = {});
