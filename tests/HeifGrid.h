#pragma once

#include <QByteArray>
#include <QList>
#include <QSize>
#include <QtEndian>

#include <libheif/heif.h>

// HEIF grids as phones write them (a large picture in tiles of 512 x 512), built by the tests
// from one tile libheif encodes: the tile's coded data and its decoder configuration go into
// a container written here box by box, whose grid item may claim any canvas.
namespace HeifGrid {

inline QByteArray u8(int value)
{
    return QByteArray(1, char(value));
}

inline QByteArray u16(int value)
{
    QByteArray bytes(2, Qt::Uninitialized);
    qToBigEndian(quint16(value), bytes.data());
    return bytes;
}

inline QByteArray u32(quint32 value)
{
    QByteArray bytes(4, Qt::Uninitialized);
    qToBigEndian(value, bytes.data());
    return bytes;
}

inline QByteArray box(const char* type, const QByteArray& payload)
{
    return u32(quint32(8 + payload.size())) + QByteArray(type, 4) + payload;
}

inline QByteArray fullBox(const char* type, int version, int flags, const QByteArray& payload)
{
    return box(type, u8(version) + u8(flags >> 16) + u16(flags & 0xFFFF) + payload);
}

// One coded picture: its HEVC decoder configuration box and its data.
struct Tile
{
    QSize size;
    QByteArray hvcC;
    QByteArray data;
};

// A tile of one colour, encoded by libheif and taken out of the file it wrote: a file of one
// picture without metadata, whose only media data is the picture's.
inline Tile tile(QSize size, int red, int green, int blue)
{
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder);
    heif_encoder_set_lossy_quality(encoder, 90);
    heif_image* image = nullptr;
    heif_image_create(size.width(), size.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB,
                      &image);
    heif_image_add_plane(image, heif_channel_interleaved, size.width(), size.height(), 8);
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            uint8_t* rgb = plane + y * stride + 3 * x;
            rgb[0] = uint8_t(red);
            rgb[1] = uint8_t(green);
            rgb[2] = uint8_t(blue);
        }
    heif_context_encode_image(context, image, encoder, nullptr, nullptr);
    heif_image_release(image);
    heif_encoder_release(encoder);
    QByteArray file;
    heif_writer writer;
    writer.writer_api_version = 1;
    writer.write = [](heif_context*, const void* data, std::size_t length, void* target) {
        static_cast<QByteArray*>(target)->append(static_cast<const char*>(data), qsizetype(length));
        return heif_error{heif_error_Ok, heif_suberror_Unspecified, "ok"};
    };
    heif_context_write(context, &writer, &file);
    heif_context_free(context);

    const auto boxAt = [&](const char* type) {
        const qsizetype at = file.indexOf(type) - 4;
        return at < 0 ? QByteArray() : file.mid(at, qFromBigEndian<quint32>(file.constData() + at));
    };
    return {size, boxAt("hvcC"), boxAt("mdat").sliced(8)};
}

// How the grid item describes itself: tiles in rows and columns, the canvas its descriptor
// gives, and the size its own size box (ispe) claims, which readers take as the picture's.
struct Layout
{
    int rows = 2;
    int columns = 2;
    QSize canvas;
    QSize claimed;
    // What the items say they are: a grid of HEVC pictures unless told otherwise.
    QByteArray type = "grid";
    QByteArray tileType = "hvc1";
};

// A HEIF whose primary picture is a grid of the tiles, row by row, each tile a hidden item of
// its own.
inline QByteArray grid(const QList<Tile>& tiles, const Layout& layout)
{
    const int gridId = int(tiles.size()) + 1;
    const bool wide = layout.canvas.width() > 0xFFFF || layout.canvas.height() > 0xFFFF;
    const QByteArray descriptor =
        u8(0) + u8(wide ? 1 : 0) + u8(layout.rows - 1) + u8(layout.columns - 1) +
        (wide ? u32(quint32(layout.canvas.width())) + u32(quint32(layout.canvas.height()))
              : u16(layout.canvas.width()) + u16(layout.canvas.height()));

    QByteArray entries;
    QByteArray references;
    // Property 1 is the first tile's decoder configuration, which every tile shares; each
    // size is one property after it, shared by the items of that size.
    QByteArray properties = tiles.first().hvcC;
    QList<QSize> sizes;
    const auto sizeProperty = [&](QSize size) {
        if (!sizes.contains(size)) {
            sizes << size;
            properties +=
                fullBox("ispe", 0, 0, u32(quint32(size.width())) + u32(quint32(size.height())));
        }
        return int(sizes.indexOf(size)) + 2;
    };
    QByteArray associations;
    for (int id = 1; id <= tiles.size(); ++id) {
        entries += fullBox("infe", 2, 1, u16(id) + u16(0) + layout.tileType + u8(0));
        references += u16(id);
        associations += u16(id) + u8(2) + u8(0x81) + u8(sizeProperty(tiles[id - 1].size));
    }
    entries += fullBox("infe", 2, 0, u16(gridId) + u16(0) + layout.type + u8(0));
    associations += u16(gridId) + u8(1) + u8(sizeProperty(layout.claimed));

    const QByteArray fileType = box("ftyp", QByteArray("heic") + u32(0) + "mif1heic");
    // The tiles' data follows the metadata, so where it starts depends on the metadata's
    // size, which the offsets do not change.
    const auto meta = [&](quint32 dataStart) {
        QByteArray locations = u8(0x44) + u8(0) + u16(gridId);
        quint32 offset = dataStart;
        for (int id = 1; id <= tiles.size(); ++id) {
            const quint32 length = quint32(tiles[id - 1].data.size());
            locations += u16(id) + u16(0) + u16(0) + u16(1) + u32(offset) + u32(length);
            offset += length;
        }
        // The descriptor lies in the metadata's own data box.
        locations +=
            u16(gridId) + u16(1) + u16(0) + u16(1) + u32(0) + u32(quint32(descriptor.size()));
        return fullBox(
            "meta", 0, 0,
            fullBox("hdlr", 0, 0, u32(0) + "pict" + QByteArray(13, '\0')) +
                fullBox("pitm", 0, 0, u16(gridId)) + fullBox("iloc", 1, 0, locations) +
                fullBox("iinf", 0, 0, u16(gridId) + entries) +
                fullBox("iref", 0, 0,
                        box("dimg", u16(gridId) + u16(int(tiles.size())) + references)) +
                box("iprp", box("ipco", properties) +
                                fullBox("ipma", 0, 0, u32(quint32(gridId)) + associations)) +
                box("idat", descriptor));
    };
    const quint32 dataStart = quint32(fileType.size() + meta(0).size() + 8);
    QByteArray data;
    for (const Tile& tile : tiles)
        data += tile.data;
    return fileType + meta(dataStart) + box("mdat", data);
}

} // namespace HeifGrid
