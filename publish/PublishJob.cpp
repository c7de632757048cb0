#include "publish/PublishJob.h"

#include "imaging/BatchObserver.h"
#include "publish/RemoteFolders.h"

namespace {

FtpOptions withStop(FtpOptions options, const std::atomic<bool>& stop)
{
    options.stop = &stop;
    return options;
}

// The uploader still takes the thumbnail folder's files and the image folder's files as two
// lists, in that order.
UploadResult upload(Uploader& uploader, const FtpSettings& settings,
                    const GeneratedImages& generated, WorkObserver& observer, ServerTrust& trust)
{
    const std::vector<RemoteFolder> folders = remoteFolders(settings, generated);
    return uploader.UploadImages(settings, folders[0].files, folders[1].files, observer, trust);
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
        result.upload = upload(m_uploader, request.ftpSettings, result.generated, observer, trust);
    }
    observer.status(result.statusText());
    return result;
}
