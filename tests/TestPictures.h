#pragma once

#include "imaging/GdImage.h"

#include <QByteArray>
#include <QFile>
#include <QSize>
#include <QString>

#include <memory>

// Pictures the tests draw for themselves, encoded straight through GD so that the codec
// under test plays no part in making them.
namespace TestPictures {

struct GdBufferDeleter
{
    void operator()(void* buffer) const { gdFree(buffer); }
};

inline GdImage draw(QSize size)
{
    GdImage image(gdImageCreateTrueColor(size.width(), size.height()));
    const int bands = 8;
    for (int band = 0; band < bands; ++band) {
        const int colour = gdTrueColor(band * 30, 255 - band * 30, (band * 70) % 256);
        gdImageFilledRectangle(image.get(), band * size.width() / bands, 0,
                               (band + 1) * size.width() / bands - 1, size.height() - 1, colour);
    }
    return image;
}

inline QByteArray jpeg(QSize size, int quality = 90)
{
    int length = 0;
    const std::unique_ptr<void, GdBufferDeleter> data(
        gdImageJpegPtr(draw(size).get(), &length, quality));
    return QByteArray(static_cast<const char*>(data.get()), length);
}

inline QByteArray png(QSize size)
{
    int length = 0;
    const std::unique_ptr<void, GdBufferDeleter> data(gdImagePngPtr(draw(size).get(), &length));
    return QByteArray(static_cast<const char*>(data.get()), length);
}

inline bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The size of the JPEG in the file; an invalid size when there is none.
inline QSize jpegSize(const QString& path)
{
    QByteArray bytes = read(path);
    const GdImage image(gdImageCreateFromJpegPtr(int(bytes.size()), bytes.data()));
    return image ? QSize(image->sx, image->sy) : QSize();
}

} // namespace TestPictures
