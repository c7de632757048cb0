#include "imaging/HeifDecoder.h"

#include "imaging/GdErrors.h"

#include <QByteArray>

#include <libheif/heif.h>

#include <climits>
#include <memory>

namespace {

struct ContextDeleter
{
    void operator()(heif_context* context) const { heif_context_free(context); }
};

struct HandleDeleter
{
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};

// The ICC profile of the primary picture, read from the container alone; empty when there
// is none. GD decodes the pixels but keeps no profile.
QByteArray iccProfile(QByteArrayView bytes)
{
    const std::unique_ptr<heif_context, ContextDeleter> context(heif_context_alloc());
    if (!context || heif_context_read_from_memory_without_copy(context.get(), bytes.data(),
                                                               std::size_t(bytes.size()), nullptr)
                            .code != heif_error_Ok)
        return {};
    heif_image_handle* primary = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &primary).code != heif_error_Ok)
        return {};
    const std::unique_ptr<heif_image_handle, HandleDeleter> handle(primary);
    const std::size_t size = heif_image_handle_get_raw_color_profile_size(handle.get());
    if (size == 0 || size > std::size_t(INT_MAX))
        return {};
    QByteArray profile(qsizetype(size), Qt::Uninitialized);
    if (heif_image_handle_get_raw_color_profile(handle.get(), profile.data()).code !=
        heif_error_Ok)
        return {};
    return profile;
}

} // namespace

GdImage decodeHeif(QByteArrayView bytes, ColourTransforms& transforms)
{
    if (bytes.isEmpty() || bytes.size() > INT_MAX)
        return nullptr;
    silenceGdErrors();
    // GD only reads the buffer; its interface just lacks the const.
    GdImage image(gdImageCreateFromHeifPtr(int(bytes.size()), const_cast<char*>(bytes.data())));
    if (!image)
        return nullptr;
    transforms.conversionFor(SourcePixels::Colour, iccProfile(bytes)).convertImage(*image);
    return image;
}
