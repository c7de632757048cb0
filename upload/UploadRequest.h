#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// One remote folder of an upload with the local files that go into it.
struct UploadFolder
{
    QString remoteDir; // as typed in the settings
    QStringList files; // local paths, in list order
    // How messages name the setting it comes from, such as "thumbnail directory".
    QString name;
};

// What one upload sends, and how far it goes.
struct UploadRequest
{
    // In the order they are entered (see FolderWalk).
    std::vector<UploadFolder> folders;
    // Connects, compares and tells what it would send, skip and remove, and sends nothing.
    bool dryRun = false;
    // Files an earlier upload put there that this set no longer makes are removed only when
    // the settings ask for it (RemoveStale) and this is set: a run that did not make every
    // file may only seem to no longer make the others.
    bool mayRemoveStale = true;
    // Removes every such file, not only up to staleLimit.
    bool removeEveryStaleFile = false;

    // More than this many files to remove at once looks like a mistake rather than a cleanup.
    static constexpr int staleLimit = 50;
};
