#include "app/WindowPlacement.h"

QRect initialWindowGeometry(QSize wanted, QSize minimum, QMargins frame, QRect available)
{
    const QRect usable = available.marginsRemoved(frame);
    const QSize size = wanted.boundedTo(usable.size()).expandedTo(minimum);
    QRect placed(QPoint(), size);
    placed.moveCenter(usable.center());
    // A window larger than the screen even at its smallest keeps its top left, and with it
    // its title bar, on the screen.
    placed.moveLeft(std::max(placed.left(), usable.left()));
    placed.moveTop(std::max(placed.top(), usable.top()));
    return placed;
}
