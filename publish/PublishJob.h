#pragma once

#include "imaging/ImageBatch.h"
#include "publish/PublishResult.h"
#include "settings/FtpSettings.h"
#include "settings/ImageSettings.h"
#include "upload/Uploader.h"

#include <QThread>

#include <array>
#include <atomic>
#include <vector>

class BatchObserver;
class ServerTrust;

// Everything one run works from, taken when the user presses the button: later edits of the
// list or the settings do not reach a run under way.
struct PublishRequest
{
    std::vector<BatchRow> rows;
    std::array<QString, 5> groupText; // the name prefix of group g at g - 1
    ImageSettings imageSettings;
    FtpSettings ftpSettings;
    bool upload = false; // Generate / Upload rather than Generate
    // Connects and compares, and tells what the upload would send, skip and remove, sending
    // nothing.
    bool dryRun = false;
    // With RemoveStale: every file this set no longer makes, however many.
    bool removeEveryStaleFile = false;
    int threads = QThread::idealThreadCount();
};

// Generate, and Generate / Upload: makes the outputs of the grouped rows, then sends them to
// the server when asked. The window and morvane-batch only gather a request and show what it
// reports and returns. A stop reaches every step: no further row is written or renamed once
// it is set, and no further file sent; the file being sent is given up halfway.
class PublishJob
{
public:
    // The stop must outlive the job: the connection of the last upload, kept open, looks at it.
    explicit PublishJob(const std::atomic<bool>& stop, FtpOptions options = {});

    // Runs on the calling thread until done or stopped, reporting on the way; the last status
    // text it reports is the result's statusText().
    PublishResult run(const PublishRequest& request, BatchObserver& observer, ServerTrust& trust);

    // What the upload sends of what generation made: thumbnails into ThumbnailFtpDir, large
    // images into ImageFtpDir.
    static UploadRequest uploadRequest(const PublishRequest& request,
                                       const GeneratedImages& generated);

private:
    const std::atomic<bool>& m_stop;
    Uploader m_uploader; // keeps the last upload's connection open, idle, until the next run
};
