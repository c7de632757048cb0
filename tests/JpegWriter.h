#pragma once

#include <QByteArray>
#include <QList>
#include <QSize>

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

// JPEG data GD never writes, made with libjpeg itself: other colour spaces and extra markers.
namespace JpegWriter {

struct Marker
{
    int code;
    QByteArray data;
};

// A picture of one flat colour, one byte per component: {gray}, {r, g, b} or {c, m, y, k}.
inline QByteArray flat(QSize size, J_COLOR_SPACE space, const QByteArray& colour,
                       const QList<Marker>& markers = {})
{
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long length = 0;
    jpeg_mem_dest(&info, &buffer, &length);
    info.image_width = JDIMENSION(size.width());
    info.image_height = JDIMENSION(size.height());
    info.input_components = int(colour.size());
    info.in_color_space = space;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    for (const Marker& marker : markers)
        jpeg_write_marker(&info, marker.code,
                          reinterpret_cast<const JOCTET*>(marker.data.constData()),
                          unsigned(marker.data.size()));
    QByteArray row;
    for (int x = 0; x < size.width(); ++x)
        row += colour;
    JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(row.data())};
    while (info.next_scanline < info.image_height)
        jpeg_write_scanlines(&info, rows, 1);
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const QByteArray data(reinterpret_cast<const char*>(buffer), qsizetype(length));
    std::free(buffer);
    return data;
}

// The same data with the frame header claiming another size.
inline QByteArray withClaimedSize(QByteArray jpeg, QSize claimed)
{
    const qsizetype frame = jpeg.indexOf("\xFF\xC0");
    if (frame < 0)
        return {};
    // FF C0, length (2), precision (1), height (2), width (2)
    jpeg[frame + 5] = char(claimed.height() >> 8);
    jpeg[frame + 6] = char(claimed.height() & 0xFF);
    jpeg[frame + 7] = char(claimed.width() >> 8);
    jpeg[frame + 8] = char(claimed.width() & 0xFF);
    return jpeg;
}

} // namespace JpegWriter
