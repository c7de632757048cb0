#include "imaging/PreviewThumbnail.h"

#include "base/BusyFlag.h"
#include "imaging/JpegCodec.h"
#include "imaging/PictureDecoder.h"
#include "imaging/PreviewGeometry.h"

PreviewResult WritePreviewFile(const QString& picturePath, const QString& previewPath,
                               BusyFlag& busy, const std::function<bool()>& isWanted,
                               ColourTransforms& transforms, int longerSide)
{
    PictureDecoder decoder(picturePath, transforms);
    const QSize size = PreviewSize(decoder.fullSize(), longerSide);
    const DecodedPicture picture = decoder.decode(size);
    const GdImage preview = picture ? picture.scaled(size) : GdImage();
    if (!preview) {
        const DecodeFailure failure = decoder.failure();
        return {PreviewOutcome::Unreadable,
                failure == DecodeFailure::None ? DecodeFailure::OutOfMemory : failure};
    }
    const BusyLock fileInUse(busy);
    if (!isWanted())
        return {PreviewOutcome::Unwanted};
    SaveJpegFile(previewPath, preview.get(), 100);
    return {PreviewOutcome::Written};
}
