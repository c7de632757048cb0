#include "imaging/Orientation.h"

#include <algorithm>

namespace {

bool swapsSides(Orientation orientation)
{
    return orientation >= Orientation::Transpose;
}

// A quarter turn reads the source down its columns; working in square tiles keeps both
// the rows read and the rows written in the cache. Upright row v comes from one stored column
// and upright column u from one stored row, each counted from one end or the other.
GdImage quarterTurn(const gdImage& stored, Orientation orientation)
{
    GdImage upright = newTrueColorImage(stored.sy, stored.sx);
    if (!upright)
        return nullptr;
    const bool columnsForward =
        orientation == Orientation::Transpose || orientation == Orientation::Rotate90Clockwise;
    const bool rowsForward = orientation == Orientation::Transpose ||
                             orientation == Orientation::Rotate90CounterClockwise;
    const int firstRow = rowsForward ? 0 : stored.sy - 1;
    const int rowStep = rowsForward ? 1 : -1;
    const int tile = 32;
    for (int v0 = 0; v0 < upright->sy; v0 += tile) {
        const int v1 = std::min(v0 + tile, upright->sy);
        for (int u0 = 0; u0 < upright->sx; u0 += tile) {
            const int u1 = std::min(u0 + tile, upright->sx);
            for (int v = v0; v < v1; ++v) {
                int* row = upright->tpixels[v];
                const int column = columnsForward ? v : stored.sx - 1 - v;
                for (int u = u0; u < u1; ++u)
                    row[u] = stored.tpixels[firstRow + rowStep * u][column];
            }
        }
    }
    return upright;
}

} // namespace

QSize uprightSize(QSize stored, Orientation orientation)
{
    return swapsSides(orientation) ? stored.transposed() : stored;
}

GdImage turnUpright(GdImage stored, Orientation orientation)
{
    switch (orientation) {
    case Orientation::AsStored:
        break;
    case Orientation::FlipHorizontal:
        gdImageFlipHorizontal(stored.get());
        break;
    case Orientation::Rotate180:
        gdImageFlipBoth(stored.get());
        break;
    case Orientation::FlipVertical:
        gdImageFlipVertical(stored.get());
        break;
    case Orientation::Transpose:
    case Orientation::Rotate90Clockwise:
    case Orientation::Transverse:
    case Orientation::Rotate90CounterClockwise:
        return quarterTurn(*stored, orientation);
    }
    return stored;
}
