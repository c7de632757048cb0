#include "imaging/PreviewThumbnail.h"

#include "base/BusyFlag.h"
#include "imaging/JpegCodec.h"
#include "imaging/PictureDecoder.h"
#include "imaging/PreviewGeometry.h"

bool WritePreviewFile(const QString& picturePath, const QString& previewPath, BusyFlag& busy,
                      const std::function<bool()>& isWanted, ColourTransforms& transforms)
{
    PictureDecoder decoder(picturePath, transforms);
    const QSize size = PreviewSize(decoder.fullSize());
    const DecodedPicture picture = decoder.decode(size);
    if (!picture)
        return false;
    const GdImage preview = picture.scaled(size);
    if (!preview)
        return false;
    const BusyLock fileInUse(busy);
    if (!isWanted())
        return false;
    SaveJpegFile(previewPath, preview.get(), 100);
    return true;
}
