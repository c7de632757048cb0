#pragma once

#include <QSize>

// The longer side of a preview in a window at its first size.
constexpr int previewSide = 117;

// The preview of a picture: its longer side is longerSide pixels, the other side scaled to
// match (cut toward zero, at least 1 pixel).
QSize PreviewSize(QSize source, int longerSide = previewSide);

// The preview frame's size for a picture drawn into it: 3 pixels more than the picture when
// that fits the frame's own box; otherwise the box's width for a wide picture and its
// height for a tall one, the other side following the picture's shape.
QSize FitPreviewFrame(QSize picture, QSize frameBox);
