#include "imaging/HeifContainer.h"

#include "imaging/ExifMetadata.h"

#include <cstring>
#include <vector>

namespace {

// The first metadata item of the type (and, for "mime" items, of the content type) whole;
// empty when there is none or it is larger than any camera writes.
QByteArray metadataItem(const heif_image_handle* handle, const char* type,
                        const char* contentType = nullptr)
{
    const int count = heif_image_handle_get_number_of_metadata_blocks(handle, type);
    if (count <= 0)
        return {};
    std::vector<heif_item_id> ids(static_cast<size_t>(count));
    heif_image_handle_get_list_of_metadata_block_IDs(handle, type, ids.data(), count);
    for (const heif_item_id id : ids) {
        if (contentType) {
            const char* itemContent = heif_image_handle_get_metadata_content_type(handle, id);
            if (!itemContent || std::strcmp(itemContent, contentType) != 0)
                continue;
        }
        const size_t size = heif_image_handle_get_metadata_size(handle, id);
        if (size == 0 || size > maxHeifMetadataBytes)
            return {};
        QByteArray item(qsizetype(size), Qt::Uninitialized);
        if (heif_image_handle_get_metadata(handle, id, item.data()).code != heif_error_Ok)
            return {};
        return item;
    }
    return {};
}

} // namespace

HeifContainer::HeifContainer()
    : m_context(nullptr, heif_context_free), m_primary(nullptr, heif_image_handle_release)
{
}

HeifContainer::~HeifContainer() = default;

bool HeifContainer::read(FilePtr file)
{
    if (!m_reader.open(std::move(file)))
        return false;
    initialiseLibheif();
    m_context.reset(heif_context_alloc());
    if (!m_context)
        return false;
    // A run already decodes a picture on every core; a phone's tiles are decoded one after
    // the other on the picture's own thread.
    heif_context_set_max_decoding_threads(m_context.get(), 0);
    heif_context_set_maximum_image_size_limit(m_context.get(), maxHeifSide);
    if (heif_context_read_from_reader(m_context.get(), &HeifFileReader::calls, &m_reader, nullptr)
            .code != heif_error_Ok)
        return false;
    heif_image_handle* handle = nullptr;
    if (heif_context_get_primary_image_handle(m_context.get(), &handle).code != heif_error_Ok)
        return false;
    m_primary.reset(handle);
    return true;
}

QByteArray HeifContainer::exif() const
{
    if (!m_primary)
        return {};
    // The item opens with a 4-byte offset to the TIFF structure, where a JPEG's segment has
    // "Exif\0\0".
    const QByteArray item = metadataItem(m_primary.get(), "Exif");
    return item.isEmpty() ? QByteArray() : exifPayloadFromHeifItem(item);
}

QByteArray HeifContainer::xmp() const
{
    return m_primary ? metadataItem(m_primary.get(), "mime", "application/rdf+xml") : QByteArray();
}
