#include "imaging/RowPictures.h"

#include "imaging/DecodedPicture.h"
#include "imaging/ExifMetadata.h"
#include "imaging/JpegDecoder.h"
#include "imaging/PictureDecoder.h"
#include "imaging/PictureHeader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Cameras store 160 x 120; a thumbnail that claims much more is not decoded as one.
constexpr int maxThumbnailSide = 1024;
// How far a thumbnail's aspect may stray from the picture's and still show it: a 4:3
// thumbnail with black bars above a 3:2 picture, or the uncropped thumbnail an editor left
// in a cropped picture, shows something else.
constexpr double aspectTolerance = 0.03;

qint64 area(QSize size)
{
    return qint64(size.width()) * size.height();
}

// The picture's size fitted into the box with its aspect kept, never enlarged.
QSize fitted(QSize picture, QSize box)
{
    if (picture.width() <= box.width() && picture.height() <= box.height())
        return picture;
    return picture.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

bool sameShape(QSize a, QSize b)
{
    const double ratio = (double(a.width()) * b.height()) / (double(a.height()) * b.width());
    return std::abs(ratio - 1) <= aspectTolerance;
}

RowPicture rgbOf(const gdImage& image, bool fromExifThumbnail)
{
    RowPicture picture;
    picture.size = QSize(image.sx, image.sy);
    picture.rgb.resize(3 * area(picture.size));
    picture.fromExifThumbnail = fromExifThumbnail;
    auto* rgb = reinterpret_cast<unsigned char*>(picture.rgb.data());
    for (int y = 0; y < image.sy; ++y) {
        for (int x = 0; x < image.sx; ++x) {
            const int pixel = image.tpixels[y][x];
            *rgb++ = static_cast<unsigned char>(gdTrueColorGetRed(pixel));
            *rgb++ = static_cast<unsigned char>(gdTrueColorGetGreen(pixel));
            *rgb++ = static_cast<unsigned char>(gdTrueColorGetBlue(pixel));
        }
    }
    return picture;
}

} // namespace

RowPictures::RowPictures(QSize box) : m_box(box) {}

RowPicture RowPictures::make(const QString& path)
{
    const PictureHeader header = readPictureHeader(path);
    if (!header.readable)
        return {};
    if (header.format == PictureFormat::Jpeg) {
        if (RowPicture picture = fromExifThumbnail(header); !picture.isNull())
            return picture;
    }
    return decoded(path);
}

RowPicture RowPictures::fromExifThumbnail(const PictureHeader& header)
{
    QByteArray thumbnail =
        exifThumbnail(std::span(reinterpret_cast<const unsigned char*>(header.exif.constData()),
                                size_t(header.exif.size())));
    if (thumbnail.isEmpty())
        return {};
    // The decoder reads a file; the thumbnail is read where it lies.
    FilePtr file(fmemopen(thumbnail.data(), size_t(thumbnail.size()), "rb"));
    if (!file)
        return {};
    // Its pixels are taken as stored: the picture's own tag turns them.
    JpegDecoder decoder(std::move(file), m_transforms);
    const QSize stored = decoder.fullSize();
    if (decoder.failure() != DecodeFailure::None || stored.width() > maxThumbnailSide ||
        stored.height() > maxThumbnailSide ||
        !sameShape(stored, uprightSize(header.size, header.orientation)))
        return {};
    const DecodedPicture picture(decoder.decodeStored(stored), header.orientation);
    if (!picture)
        return {};
    const GdImage scaled = picture.scaled(fitted(picture.size(), m_box));
    return scaled ? rgbOf(*scaled, true) : RowPicture();
}

RowPicture RowPictures::decoded(const QString& path)
{
    PictureDecoder decoder(path, m_transforms);
    if (decoder.failure() != DecodeFailure::None)
        return {};
    const QSize size = fitted(decoder.fullSize(), m_box);
    const qint64 held = decoder.pixelsHeld(size) + area(size);
    const PixelReservation pixels(m_budget, held, std::max(held, allowancePixels));
    const DecodedPicture picture = decoder.decode(size);
    if (!picture)
        return {};
    const GdImage scaled = picture.scaled(size);
    return scaled ? rgbOf(*scaled, false) : RowPicture();
}
