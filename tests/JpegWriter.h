#pragma once

#include <QByteArray>
#include <QList>
#include <QSize>

#include <algorithm>
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

enum class Progression
{
    Sequential,
    Progressive,     // libjpeg's usual script, refining coefficients bit by bit
    ProgressiveFlat, // one scan per band, each coefficient whole at once
};

struct Options
{
    Progression progression = Progression::Sequential;
    int restartInterval = 0; // in blocks of pixels; 0 writes no restart markers
};

// A colour picture with detail everywhere (gradients and a fine pattern), so that a block
// libjpeg fills with gray never looks like the picture.
inline QByteArray detailed(QSize size, const Options& options = {})
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
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    info.restart_interval = unsigned(options.restartInterval);
    // Luminance, then both chroma components, each in one scan per band without refinement.
    static const jpeg_scan_info flatScans[] = {
        {3, {0, 1, 2}, 0, 0, 0, 0},
        {1, {0}, 1, 63, 0, 0},
        {1, {1}, 1, 63, 0, 0},
        {1, {2}, 1, 63, 0, 0},
    };
    if (options.progression == Progression::Progressive) {
        jpeg_simple_progression(&info);
    } else if (options.progression == Progression::ProgressiveFlat) {
        info.scan_info = flatScans;
        info.num_scans = 4;
    }
    jpeg_start_compress(&info, TRUE);
    QByteArray row(size.width() * 3, Qt::Uninitialized);
    JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(row.data())};
    while (info.next_scanline < info.image_height) {
        const int y = int(info.next_scanline);
        for (int x = 0; x < size.width(); ++x) {
            row[3 * x] = char(x * 255 / std::max(1, size.width() - 1));
            row[3 * x + 1] = char(y * 255 / std::max(1, size.height() - 1));
            row[3 * x + 2] = char(((x / 3 + y / 5) % 2) * 200 + (x * y) % 55);
        }
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    const QByteArray data(reinterpret_cast<const char*>(buffer), qsizetype(length));
    std::free(buffer);
    return data;
}

// Where each scan header (FF DA) starts. Picture data never holds FF DA: a byte FF in it is
// followed by 00, or by a restart marker.
inline QList<qsizetype> scanHeaders(const QByteArray& jpeg)
{
    QList<qsizetype> found;
    for (qsizetype at = jpeg.indexOf("\xFF\xDA"); at >= 0; at = jpeg.indexOf("\xFF\xDA", at + 2))
        found << at;
    return found;
}

// The data with its last scan repeated right after itself, header and data: a scan bomb.
// Each repetition decodes with the tables the scan used, as no table follows the last scan.
inline QByteArray withLastScanRepeated(const QByteArray& jpeg, int times)
{
    const qsizetype begin = scanHeaders(jpeg).value(scanHeaders(jpeg).size() - 1, -1);
    const qsizetype end = jpeg.lastIndexOf("\xFF\xD9");
    if (begin < 0 || end < begin)
        return {};
    return jpeg.first(end) + jpeg.mid(begin, end - begin).repeated(times) + jpeg.sliced(end);
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
