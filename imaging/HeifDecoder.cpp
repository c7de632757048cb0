#include "imaging/HeifDecoder.h"

#include <QByteArray>

#include <libheif/heif.h>

#include <climits>
#include <memory>

// GD can decode HEIF too, but it leaves the picture as stored, ignoring the container's
// turn and mirror: a phone's portrait would come out lying on its side. libheif decodes
// upright, straight into the GD image.

namespace {

struct ContextDeleter
{
    void operator()(heif_context* context) const { heif_context_free(context); }
};

struct HandleDeleter
{
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};

struct ImageDeleter
{
    void operator()(heif_image* image) const { heif_image_release(image); }
};

// The primary picture's ICC profile; empty when it has none.
QByteArray iccProfile(heif_image_handle* handle)
{
    const std::size_t size = heif_image_handle_get_raw_color_profile_size(handle);
    if (size == 0 || size > std::size_t(INT_MAX))
        return {};
    QByteArray profile(qsizetype(size), Qt::Uninitialized);
    if (heif_image_handle_get_raw_color_profile(handle, profile.data()).code != heif_error_Ok)
        return {};
    return profile;
}

GdImage toGdImage(const heif_image& decoded)
{
    const int width = heif_image_get_width(&decoded, heif_channel_interleaved);
    const int height = heif_image_get_height(&decoded, heif_channel_interleaved);
    int stride = 0;
    const uint8_t* plane = heif_image_get_plane_readonly(&decoded, heif_channel_interleaved,
                                                         &stride);
    if (!plane || width < 1 || height < 1)
        return nullptr;
    GdImage image(gdImageCreateTrueColor(width, height));
    if (!image)
        return nullptr;
    for (int y = 0; y < height; ++y) {
        const uint8_t* rgb = plane + std::ptrdiff_t(y) * stride;
        int* row = image->tpixels[y];
        for (int x = 0; x < width; ++x, rgb += 3)
            row[x] = gdTrueColor(rgb[0], rgb[1], rgb[2]);
    }
    return image;
}

} // namespace

GdImage decodeHeif(QByteArrayView bytes, ColourTransforms& transforms)
{
    const std::unique_ptr<heif_context, ContextDeleter> context(heif_context_alloc());
    if (!context || heif_context_read_from_memory_without_copy(context.get(), bytes.data(),
                                                               std::size_t(bytes.size()), nullptr)
                            .code != heif_error_Ok)
        return nullptr;
    heif_image_handle* primary = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &primary).code != heif_error_Ok)
        return nullptr;
    const std::unique_ptr<heif_image_handle, HandleDeleter> handle(primary);
    heif_image* decoded = nullptr;
    // No options: libheif then applies the container's turn and mirror.
    if (heif_decode_image(handle.get(), &decoded, heif_colorspace_RGB,
                          heif_chroma_interleaved_RGB, nullptr)
            .code != heif_error_Ok)
        return nullptr;
    const std::unique_ptr<heif_image, ImageDeleter> owned(decoded);
    GdImage image = toGdImage(*decoded);
    if (image)
        transforms.conversionFor(SourcePixels::Colour, iccProfile(handle.get()))
            .convertImage(*image);
    return image;
}
