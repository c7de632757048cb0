#include "imaging/PreviewGeometry.h"

#include <algorithm>

namespace {

constexpr int frameMargin = 3;

} // namespace

QSize PreviewSize(QSize source, int longerSide)
{
    const double ratio = double(source.height()) / source.width();
    const QSize size = ratio > 1 ? QSize(int(longerSide / ratio), longerSide)
                                 : QSize(longerSide, int(ratio * longerSide));
    // A picture over 117 times longer than wide would otherwise get a side of 0.
    return size.expandedTo(QSize(1, 1));
}

QSize FitPreviewFrame(QSize picture, QSize frameBox)
{
    const QSize framed = picture + QSize(frameMargin, frameMargin);
    if (framed.width() <= frameBox.width() && framed.height() <= frameBox.height())
        return framed;
    const double ratio = double(picture.width()) / picture.height();
    if (ratio > 1)
        return QSize(frameBox.width(), int(frameBox.width() / ratio));
    return QSize(int(frameBox.height() * ratio), frameBox.height());
}
