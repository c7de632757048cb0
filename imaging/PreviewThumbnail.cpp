#include "imaging/PreviewThumbnail.h"

#include "base/BusyFlag.h"
#include "imaging/JpegCodec.h"
#include "imaging/JpegDecoder.h"
#include "imaging/PreviewGeometry.h"
#include "imaging/ScalePicture.h"

bool WritePreviewFile(const QString& picturePath, const QString& previewPath, BusyFlag& busy,
                      const std::function<bool()>& isWanted)
{
    JpegDecoder decoder(picturePath);
    const QSize size = PreviewSize(decoder.fullSize());
    const GdImage picture = decoder.decode(size);
    if (!picture)
        return false;
    const GdImage preview = ScalePicture(picture.get(), size);
    if (!preview)
        return false;
    const BusyLock fileInUse(busy);
    if (!isWanted())
        return false;
    SaveJpegFile(previewPath, preview.get(), 100);
    return true;
}
