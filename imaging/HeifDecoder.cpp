#include "imaging/HeifDecoder.h"

#include "imaging/ColourTransforms.h"
#include "imaging/HeifContainer.h"

#include <QByteArray>

#include <unistd.h>

#include <libheif/heif.h>

#include <QtEndian>

#include <algorithm>
#include <climits>
#include <map>
#include <vector>

// GD can decode HEIF too, but it leaves the picture as stored, ignoring the container's
// turn and mirror: a phone's portrait would come out lying on its side. libheif decodes
// upright, and its rows are copied into the GD image.

namespace {

struct ImageDeleter
{
    void operator()(heif_image* image) const { heif_image_release(image); }
};

struct OptionsDeleter
{
    void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};

// libheif (1.15) lays a grid's tiles onto a canvas of the size the grid's descriptor gives,
// without asking whether that is the size its size box (ispe) claims, nor whether the tiles
// cover the canvas: a few kilobytes of tiles may then fill gigabytes of black canvas. What
// the grid, overlay or identity item of the primary picture says of itself is read here
// from the container, before anything is decoded. HEIF boxes: ISO/IEC 14496-12 and 23008-12.

// Big-endian fields read one after the other; reading past the end gives 0 and marks the
// reader broken, so a damaged box is never read beyond its bytes.
class FieldReader
{
public:
    explicit FieldReader(QByteArrayView bytes) : m_bytes(bytes) {}

    bool broken() const { return m_broken; }
    bool atEnd() const { return m_at >= m_bytes.size(); }

    quint64 take(int size)
    {
        if (size < 0 || size > 8 || m_bytes.size() - m_at < size) {
            m_broken = true;
            m_at = m_bytes.size();
            return 0;
        }
        quint64 value = 0;
        for (int i = 0; i < size; ++i)
            value = value << 8 | quint8(m_bytes[m_at++]);
        return value;
    }

    QByteArrayView takeBytes(quint64 size)
    {
        if (quint64(m_bytes.size() - m_at) < size) {
            m_broken = true;
            m_at = m_bytes.size();
            return {};
        }
        const QByteArrayView taken = m_bytes.sliced(m_at, qsizetype(size));
        m_at += qsizetype(size);
        return taken;
    }

    // One box: its type and its payload; the payload is empty and the reader broken when
    // the box claims more than there is.
    std::pair<QByteArrayView, QByteArrayView> takeBox()
    {
        quint64 size = take(4);
        const QByteArrayView type = takeBytes(4);
        qsizetype header = 8;
        if (size == 1) {
            size = take(8);
            header = 16;
        } else if (size == 0) {
            size = quint64(m_bytes.size() - m_at) + 8;
        }
        if (size < quint64(header))
            m_broken = true;
        return {type, takeBytes(size < quint64(header) ? 0 : size - quint64(header))};
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
    bool m_broken = false;
};

// Where an item's data lies: in the file, or in the metadata's own data box.
struct ItemLocation
{
    bool inMetadata = false;
    quint64 offset = 0; // of its first extent, the only one read here
    quint64 length = 0;
};

// What the metadata says of the items a primary picture may be made of.
struct ItemMap
{
    quint32 primary = 0;
    std::map<quint32, QByteArray> types;
    std::map<quint32, std::vector<quint32>> madeOf; // 'dimg' references, in order
    std::map<quint32, QSize> sizes;                 // from each item's 'ispe'
    std::map<quint32, ItemLocation> locations;
    QByteArray inlineData; // the 'idat' box
    bool broken = false;

    void read(QByteArrayView meta);

private:
    void readItemInfo(FieldReader& box, int version);
    void readLocations(FieldReader& box, int version);
    void readReferences(FieldReader& box, int version);
    void readProperties(QByteArrayView iprp);
};

void ItemMap::read(QByteArrayView meta)
{
    FieldReader reader(meta);
    reader.take(4); // version and flags
    while (!reader.atEnd()) {
        const auto [type, payload] = reader.takeBox();
        FieldReader box(payload);
        if (type == "iprp") {
            readProperties(payload);
            continue;
        }
        if (type == "idat") {
            inlineData = payload.toByteArray();
            continue;
        }
        const int version = int(box.take(1));
        box.take(3); // flags
        if (type == "pitm")
            primary = quint32(box.take(version == 0 ? 2 : 4));
        else if (type == "iinf")
            readItemInfo(box, version);
        else if (type == "iloc")
            readLocations(box, version);
        else if (type == "iref")
            readReferences(box, version);
        broken = broken || box.broken();
    }
    broken = broken || reader.broken();
}

void ItemMap::readItemInfo(FieldReader& box, int version)
{
    box.take(version == 0 ? 2 : 4); // the count; the boxes that follow are what counts
    while (!box.atEnd()) {
        const auto [type, payload] = box.takeBox();
        FieldReader entry(payload);
        const int entryVersion = int(entry.take(1));
        entry.take(3);
        // Versions 0 and 1 describe no pictures.
        if (type != "infe" || entryVersion < 2)
            continue;
        const auto id = quint32(entry.take(entryVersion == 2 ? 2 : 4));
        entry.take(2); // protection
        types[id] = entry.takeBytes(4).toByteArray();
        broken = broken || entry.broken();
    }
}

void ItemMap::readLocations(FieldReader& box, int version)
{
    const int sizes = int(box.take(1));
    const int offsetSize = sizes >> 4;
    const int lengthSize = sizes & 0xF;
    const int moreSizes = int(box.take(1));
    const int baseOffsetSize = moreSizes >> 4;
    const int indexSize = version == 0 ? 0 : moreSizes & 0xF;
    const quint64 count = box.take(version < 2 ? 2 : 4);
    for (quint64 i = 0; i < count && !box.broken(); ++i) {
        const auto id = quint32(box.take(version < 2 ? 2 : 4));
        const int method = version == 0 ? 0 : int(box.take(2) & 0xF);
        box.take(2); // data reference: this file
        const quint64 base = box.take(baseOffsetSize);
        const quint64 extents = box.take(2);
        ItemLocation location{method == 1, 0, 0};
        for (quint64 extent = 0; extent < extents && !box.broken(); ++extent) {
            box.take(indexSize);
            const quint64 offset = box.take(offsetSize);
            const quint64 length = box.take(lengthSize);
            if (extent == 0)
                location = {method == 1, base + offset, length};
        }
        // Data in another file, or found by index, is nothing a descriptor is read from.
        if (method <= 1)
            locations[id] = location;
    }
}

void ItemMap::readReferences(FieldReader& box, int version)
{
    const int idSize = version == 0 ? 2 : 4;
    while (!box.atEnd()) {
        const auto [type, payload] = box.takeBox();
        FieldReader reference(payload);
        const auto from = quint32(reference.take(idSize));
        const quint64 count = reference.take(2);
        std::vector<quint32> to;
        for (quint64 i = 0; i < count && !reference.broken(); ++i)
            to.push_back(quint32(reference.take(idSize)));
        // The first list of an item counts, as libheif takes it.
        if (type == "dimg" && !madeOf.count(from))
            madeOf[from] = std::move(to);
        broken = broken || reference.broken();
    }
}

void ItemMap::readProperties(QByteArrayView iprp)
{
    std::vector<QSize> propertySizes; // by index from 1; invalid for what is no 'ispe'
    FieldReader boxes(iprp);
    while (!boxes.atEnd()) {
        const auto [type, payload] = boxes.takeBox();
        FieldReader box(payload);
        if (type == "ipco") {
            while (!box.atEnd()) {
                const auto [propertyType, property] = box.takeBox();
                FieldReader fields(property);
                fields.take(4);
                const auto width = quint32(fields.take(4));
                const auto height = quint32(fields.take(4));
                const bool usable = propertyType == "ispe" && !fields.broken() &&
                                    width <= INT_MAX && height <= INT_MAX;
                propertySizes.push_back(usable ? QSize(int(width), int(height)) : QSize());
            }
        } else if (type == "ipma") {
            const int version = int(box.take(1));
            const bool wideIndex = box.take(3) & 1;
            const quint64 count = box.take(4);
            for (quint64 i = 0; i < count && !box.broken(); ++i) {
                const auto id = quint32(box.take(version == 0 ? 2 : 4));
                const quint64 associations = box.take(1);
                for (quint64 a = 0; a < associations && !box.broken(); ++a) {
                    const quint64 index = box.take(wideIndex ? 2 : 1) & (wideIndex ? 0x7FFF : 0x7F);
                    if (index >= 1 && index <= propertySizes.size() &&
                        propertySizes[index - 1].isValid())
                        sizes[id] = propertySizes[index - 1];
                }
            }
        }
        broken = broken || box.broken();
    }
    broken = broken || boxes.broken();
}

// The bytes of the file at offset, as many as there are up to length.
QByteArray readAt(std::FILE* file, quint64 offset, quint64 length)
{
    if (offset > quint64(INT64_MAX) || length > quint64(INT_MAX))
        return {};
    QByteArray bytes(qsizetype(length), Qt::Uninitialized);
    const ssize_t got = pread(fileno(file), bytes.data(), size_t(length), off_t(offset));
    bytes.truncate(got < 0 ? 0 : got);
    return bytes;
}

// The metadata box of the file; empty when there is none, or an unlikely large one.
QByteArray metadataOf(std::FILE* file, int64_t fileSize)
{
    // Phones write a few kilobytes; libheif itself reads the box whole.
    constexpr quint64 largestMetadata = 16 * 1024 * 1024;
    quint64 at = 0;
    while (at + 8 <= quint64(fileSize)) {
        const QByteArray bytes = readAt(file, at, 16); // outlives the reader's view of it
        FieldReader header(bytes);
        quint64 size = header.take(4);
        const QByteArrayView type = header.takeBytes(4);
        quint64 headerSize = 8;
        if (size == 1) {
            size = header.take(8);
            headerSize = 16;
        } else if (size == 0) {
            size = quint64(fileSize) - at;
        }
        if (header.broken() || size < headerSize || size > quint64(fileSize) - at)
            return {};
        if (type == "meta")
            return size - headerSize > largestMetadata
                       ? QByteArray()
                       : readAt(file, at + headerSize, size - headerSize);
        at += size;
    }
    return {};
}

// Whether the derived picture `id`, whose size box claims `claimed`, is drawn on a canvas of
// exactly that size, and, for a grid, whether its tiles cover the canvas.
// Pictures coded as they are, decoded at their own size.
bool isCodedPicture(const QByteArray& type)
{
    return type == "hvc1" || type == "av01";
}

// The size box of an item that the canvas check below holds for `id`.
bool itemAsClaimed(const ItemMap& items, std::FILE* file, quint32 id, int depth);

bool canvasAsClaimed(const ItemMap& items, std::FILE* file, quint32 id, QSize claimed, int depth)
{
    const auto type = items.types.find(id);
    if (type == items.types.end() || depth > 3)
        return false;
    if (isCodedPicture(type->second))
        return true;
    const bool grid = type->second == "grid";
    const bool overlay = type->second == "iovl";
    const auto inputs = items.madeOf.find(id);
    if (inputs == items.madeOf.end() || inputs->second.empty())
        return false;
    // libheif 1.15 stops the whole program on an assertion when a picture is made of an
    // item that is no picture, so every item it would decode is looked at first.
    if (type->second == "iden")
        return itemAsClaimed(items, file, inputs->second.front(), depth + 1);
    if (!grid && !overlay)
        return false; // nothing libheif decodes as a picture
    for (quint32 input : inputs->second) {
        const auto inputType = items.types.find(input);
        if (inputType == items.types.end() ||
            (grid ? !isCodedPicture(inputType->second)
                  : !itemAsClaimed(items, file, input, depth + 1)))
            return false;
    }
    const auto location = items.locations.find(id);
    if (location == items.locations.end())
        return false;
    // Version, flags, then rows and columns (grid) or four fill colours (overlay), then
    // the canvas in two or four bytes a side.
    const ItemLocation& where = location->second;
    const quint64 length = std::min<quint64>(where.length, 32);
    const QByteArray descriptor =
        where.inMetadata ? (where.offset < quint64(items.inlineData.size())
                                ? items.inlineData.mid(qsizetype(where.offset), qsizetype(length))
                                : QByteArray())
                         : readAt(file, where.offset, length);
    FieldReader fields(descriptor);
    fields.take(1);
    const int sideSize = fields.take(1) & 1 ? 4 : 2;
    const int rows = grid ? int(fields.take(1)) + 1 : 0;
    const int columns = grid ? int(fields.take(1)) + 1 : 0;
    if (overlay)
        fields.take(8);
    const quint64 width = fields.take(sideSize);
    const quint64 height = fields.take(sideSize);
    if (fields.broken() || width > quint64(INT_MAX) || height > quint64(INT_MAX))
        return false;
    // libheif 1.15 writes the size box of a turned picture turned as well.
    const QSize canvas{int(width), int(height)};
    if (canvas != claimed && canvas != claimed.transposed())
        return false;
    if (!grid)
        return true; // an overlay fills what its pictures leave with its fill colour
    const auto tiles = inputs;
    if (tiles->second.size() != size_t(rows * columns))
        return false;
    const auto first = items.sizes.find(tiles->second.front());
    if (first == items.sizes.end())
        return false;
    // Tiles are all of one size, and the canvas cuts off what lies beyond its edges.
    const QSize tile = first->second;
    for (quint32 tileId : tiles->second) {
        const auto size = items.sizes.find(tileId);
        if (size == items.sizes.end() || size->second != tile)
            return false;
    }
    return qint64(tile.width()) * columns >= canvas.width() &&
           qint64(tile.height()) * rows >= canvas.height();
}

bool itemAsClaimed(const ItemMap& items, std::FILE* file, quint32 id, int depth)
{
    const auto size = items.sizes.find(id);
    return size != items.sizes.end() && canvasAsClaimed(items, file, id, size->second, depth);
}

// The primary picture's ICC profile; empty when it has none.
QByteArray iccProfile(const heif_image_handle* handle)
{
    const std::size_t size = heif_image_handle_get_raw_color_profile_size(handle);
    if (size == 0 || size > std::size_t(INT_MAX))
        return {};
    QByteArray profile(qsizetype(size), Qt::Uninitialized);
    if (heif_image_handle_get_raw_color_profile(handle, profile.data()).code != heif_error_Ok)
        return {};
    return profile;
}

} // namespace

struct HeifDecoder::Container
{
    HeifContainer boxes;

    bool canvasAsClaimed() const;
};

bool HeifDecoder::Container::canvasAsClaimed() const
{
    ItemMap items;
    items.read(metadataOf(boxes.file(), boxes.fileSize()));
    const heif_image_handle* handle = boxes.primary();
    return !items.broken && ::canvasAsClaimed(items, boxes.file(), items.primary,
                                              QSize(heif_image_handle_get_ispe_width(handle),
                                                    heif_image_handle_get_ispe_height(handle)),
                                              0);
}

HeifDecoder::HeifDecoder(FilePtr file, ColourTransforms& transforms)
    : m_container(std::make_unique<Container>()), m_transforms(transforms)
{
    if (!m_container->boxes.read(std::move(file))) {
        m_failure = DecodeFailure::NotAPicture;
        return;
    }
    // The size once turned, as the container gives it, before any pixel is decoded.
    const heif_image_handle* primary = m_container->boxes.primary();
    m_fullSize = QSize(heif_image_handle_get_width(primary), heif_image_handle_get_height(primary));
    // Before it is cut or turned, the picture is as large as its size box says.
    m_codedSize = QSize(heif_image_handle_get_ispe_width(primary),
                        heif_image_handle_get_ispe_height(primary));
    if (m_fullSize.isEmpty() || m_codedSize.isEmpty())
        m_failure = DecodeFailure::NotAPicture;
    else if (std::max(qint64(m_fullSize.width()) * m_fullSize.height(),
                      qint64(m_codedSize.width()) * m_codedSize.height()) > maxHeifPixels)
        m_failure = DecodeFailure::TooManyPixels;
    else if (!m_container->canvasAsClaimed())
        m_failure = DecodeFailure::Corrupt;
}

HeifDecoder::~HeifDecoder() = default;

QSize HeifDecoder::decodedSize(QSize) const
{
    return m_fullSize;
}

qint64 HeifDecoder::pixelsHeld(QSize) const
{
    // The coded planes (one and a half bytes a pixel), the interleaved RGB rows (three) and
    // the GD image (four): twice the GD image, rounded up.
    return 2 * std::max(qint64(m_fullSize.width()) * m_fullSize.height(),
                        qint64(m_codedSize.width()) * m_codedSize.height());
}

QByteArray HeifDecoder::exif() const
{
    return m_container->boxes.exif();
}

QByteArray HeifDecoder::xmp() const
{
    return m_container->boxes.xmp();
}

DecodedPicture HeifDecoder::decode(QSize)
{
    // libheif turns the picture while decoding it, as its container says.
    return DecodedPicture(decodeUpright(), Orientation::AsStored);
}

GdImage HeifDecoder::decodeUpright()
{
    if (m_failure != DecodeFailure::None)
        return nullptr;
    m_failure = DecodeFailure::NotAPicture; // until the picture is whole
    const std::unique_ptr<heif_decoding_options, OptionsDeleter> options(
        heif_decoding_options_alloc());
    if (!options)
        return nullptr;
    // The container's turn and mirror are applied; a picture of more than eight bits a
    // channel comes as eight.
    options->ignore_transformations = 0;
    options->convert_hdr_to_8bit = 1;
    heif_image* decoded = nullptr;
    if (heif_decode_image(m_container->boxes.primary(), &decoded, heif_colorspace_RGB,
                          heif_chroma_interleaved_RGB, options.get())
            .code != heif_error_Ok)
        return nullptr;
    const std::unique_ptr<heif_image, ImageDeleter> owned(decoded);
    const int width = heif_image_get_width(decoded, heif_channel_interleaved);
    const int height = heif_image_get_height(decoded, heif_channel_interleaved);
    int stride = 0;
    const uint8_t* plane =
        heif_image_get_plane_readonly(decoded, heif_channel_interleaved, &stride);
    // Whatever the coded data held, only the size the container promised is taken.
    if (!plane || QSize(width, height) != m_fullSize ||
        heif_image_get_bits_per_pixel(decoded, heif_channel_interleaved) != 24 ||
        stride < 3 * width)
        return nullptr;
    GdImage image = newTrueColorImage(width, height);
    if (!image) {
        m_failure = DecodeFailure::OutOfMemory;
        return nullptr;
    }
    const ColourConversion colours =
        m_transforms.conversionFor(SourcePixels::Colour, iccProfile(m_container->boxes.primary()));
    for (int y = 0; y < height; ++y) {
        const uint8_t* rgb = plane + std::ptrdiff_t(y) * stride;
        int* row = image->tpixels[y];
        for (int x = 0; x < width; ++x, rgb += 3)
            row[x] = gdTrueColor(rgb[0], rgb[1], rgb[2]);
        if (colours.changesPixels())
            colours.convertRow(reinterpret_cast<const unsigned char*>(row), row, width);
    }
    m_failure = DecodeFailure::None;
    return image;
}
