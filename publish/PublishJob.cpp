#include "publish/PublishJob.h"

#include "imaging/BatchObserver.h"
#include "publish/RemoteFolders.h"

namespace {

FtpOptions withStop(FtpOptions options, const std::atomic<bool>& stop)
{
    options.stop = &stop;
    return options;
}

} // namespace

PublishJob::PublishJob(const std::atomic<bool>& stop, FtpOptions options)
    : m_stop(stop), m_uploader(withStop(std::move(options), stop))
{
}

PublishResult PublishJob::run(const PublishRequest& request, BatchObserver& observer,
                              ServerTrust& trust)
{
    PublishResult result;
    BatchControl control;
    control.threads = request.threads;
    control.stop = &m_stop;
    control.markupLinkFolder = imageFolderFromThumbnails(request.ftpSettings.ThumbnailFtpDir,
                                                         request.ftpSettings.ImageFtpDir);
    result.generated =
        GenerateImages(request.rows, request.groupText, request.imageSettings, observer, control);
    if (request.upload && !result.generated.refused && !result.stopped()) {
        // "Ready", or what generation could not do, until the upload says more.
        observer.status(result.statusText());
        result.upload = m_uploader.UploadImages(
            request.ftpSettings, uploadRequest(request, result.generated), observer, trust);
    }
    observer.status(result.statusText());
    return result;
}

UploadRequest PublishJob::uploadRequest(const PublishRequest& request,
                                        const GeneratedImages& generated)
{
    UploadRequest upload;
    upload.folders = remoteFolders(request.ftpSettings, generated);
    upload.dryRun = request.dryRun;
    // A picture not made this time would look like one the set no longer makes.
    upload.mayRemoveStale = generated.complete();
    upload.removeEveryStaleFile = request.removeEveryStaleFile;
    return upload;
}
