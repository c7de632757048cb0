#include "imaging/PreviewThumbnail.h"

#include "base/BusyFlag.h"
#include "imaging/JpegCodec.h"
#include "imaging/PreviewGeometry.h"

bool WritePreviewFile(const QString& picturePath, const QString& previewPath, BusyFlag& busy,
                      const std::function<bool()>& isWanted)
{
    const GdImage source = LoadJpegFile(picturePath);
    if (!source)
        return false;
    const QSize size = PreviewSize(QSize(source->sx, source->sy));
    const GdImage preview(gdImageCreateTrueColor(size.width(), size.height()));
    if (!preview)
        return false;
    gdImageCopyResampled(preview.get(), source.get(), 0, 0, 0, 0, size.width(), size.height(),
                         source->sx, source->sy);
    const BusyLock fileInUse(busy);
    if (!isWanted())
        return false;
    SaveJpegFile(previewPath, preview.get(), 100);
    return true;
}
