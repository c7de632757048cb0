#include "imaging/PreviewThumbnail.h"

#include "imaging/JpegCodec.h"
#include "imaging/JpegDecoder.h"
#include "imaging/PreviewGeometry.h"
#include "imaging/ScalePicture.h"
#include "base/BusyFlag.h"

bool WritePreviewFile(const QString& picturePath, const QString& previewPath, BusyFlag& busy)
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
    SaveJpegFile(previewPath, preview.get(), 100);
    return true;
}
