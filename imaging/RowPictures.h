#pragma once

#include "imaging/ColourTransforms.h"
#include "imaging/PixelBudget.h"

#include <QByteArray>
#include <QSize>
#include <QString>

struct PictureHeader;

// A small upright picture for a row of the list, in sRGB: three bytes a pixel (red, green,
// blue), rows one after the other without padding. The window makes a QImage of it
// (Format_RGB888, 3 * width bytes a line); the core draws nothing itself.
struct RowPicture
{
    QSize size;
    QByteArray rgb;
    bool fromExifThumbnail = false; // else decoded from the picture, reduced

    bool isNull() const { return rgb.isEmpty(); }
};

// Makes the row pictures of a list. One object serves every worker of the list: make() is
// safe to call on several threads at once, and the pictures being decoded together hold at
// most allowancePixels, or what the largest single one needs.
class RowPictures
{
public:
    // Row pictures fit into box, which must not be empty.
    explicit RowPictures(QSize box);

    // The EXIF thumbnail a JPEG carries, turned upright, when its shape is the picture's;
    // else the picture decoded at the smallest size that serves (an eighth, for a photo).
    // Fits into the box keeping its aspect, never larger than the picture. Null when the
    // file cannot be read.
    RowPicture make(const QString& path);

    // GD pixels, four bytes each.
    static constexpr qint64 allowancePixels = 32'000'000;

private:
    RowPicture fromExifThumbnail(const PictureHeader& header);
    RowPicture decoded(const QString& path);

    QSize m_box;
    ColourTransforms m_transforms;
    PixelBudget m_budget;
};
