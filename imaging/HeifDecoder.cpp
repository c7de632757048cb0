#include "imaging/HeifDecoder.h"

#include "imaging/ColourTransforms.h"

#include <QByteArray>

#include <sys/stat.h>
#include <unistd.h>

#include <libheif/heif.h>

#include <cerrno>
#include <climits>
#include <mutex>

// GD can decode HEIF too, but it leaves the picture as stored, ignoring the container's
// turn and mirror: a phone's portrait would come out lying on its side. libheif decodes
// upright, and its rows are copied into the GD image.

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

struct OptionsDeleter
{
    void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};

// libheif registers its codecs on first use; done once, before render threads race to it.
void initialiseLibheif()
{
    static std::once_flag once;
    std::call_once(once, [] { heif_init(nullptr); });
}

// libheif reads the boxes it needs from the open file as it needs them, so a large file is
// never read whole, and a file shorter than its boxes claim is found out.
struct FileReader
{
    FilePtr file;
    int64_t size = 0;
    int64_t position = 0;

    static int64_t getPosition(void* reader) { return static_cast<FileReader*>(reader)->position; }

    static int read(void* data, size_t size, void* reader)
    {
        FileReader& self = *static_cast<FileReader*>(reader);
        auto* target = static_cast<char*>(data);
        while (size > 0) {
            const ssize_t got = pread(fileno(self.file.get()), target, size, self.position);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return 1;
            target += got;
            size -= size_t(got);
            self.position += got;
        }
        return 0;
    }

    static int seek(int64_t position, void* reader)
    {
        FileReader& self = *static_cast<FileReader*>(reader);
        if (position < 0 || position > self.size)
            return 1;
        self.position = position;
        return 0;
    }

    static heif_reader_grow_status waitForFileSize(int64_t targetSize, void* reader)
    {
        return targetSize > static_cast<FileReader*>(reader)->size
                   ? heif_reader_grow_status_size_beyond_eof
                   : heif_reader_grow_status_size_reached;
    }
};

constexpr heif_reader fileReaderCalls = {1, FileReader::getPosition, FileReader::read,
                                         FileReader::seek, FileReader::waitForFileSize};

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
    FileReader reader; // before the context, which reads through it until it is freed
    std::unique_ptr<heif_context, ContextDeleter> context;
    std::unique_ptr<heif_image_handle, HandleDeleter> primary;

    bool read();
};

bool HeifDecoder::Container::read()
{
    struct stat status;
    if (fstat(fileno(reader.file.get()), &status) != 0)
        return false;
    reader.size = status.st_size;
    initialiseLibheif();
    context.reset(heif_context_alloc());
    if (!context)
        return false;
    // The run already decodes a picture on every core; a phone's tiles are decoded one
    // after the other on the picture's own thread.
    heif_context_set_max_decoding_threads(context.get(), 0);
    if (heif_context_read_from_reader(context.get(), &fileReaderCalls, &reader, nullptr).code !=
        heif_error_Ok)
        return false;
    heif_image_handle* handle = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &handle).code != heif_error_Ok)
        return false;
    primary.reset(handle);
    return true;
}

HeifDecoder::HeifDecoder(FilePtr file, ColourTransforms& transforms)
    : m_container(std::make_unique<Container>()), m_transforms(transforms)
{
    m_container->reader.file = std::move(file);
    if (!m_container->read()) {
        m_failure = DecodeFailure::NotAPicture;
        return;
    }
    // The size once turned, as the container gives it, before any pixel is decoded.
    const heif_image_handle* primary = m_container->primary.get();
    m_fullSize = QSize(heif_image_handle_get_width(primary), heif_image_handle_get_height(primary));
    if (m_fullSize.isEmpty())
        m_failure = DecodeFailure::NotAPicture;
    else if (qint64(m_fullSize.width()) * m_fullSize.height() > maxPicturePixels)
        m_failure = DecodeFailure::TooManyPixels;
}

HeifDecoder::~HeifDecoder() = default;

qint64 HeifDecoder::pixelsHeld() const
{
    // The coded planes (one and a half bytes a pixel), the interleaved RGB rows (three) and
    // the GD image (four): twice the GD image, rounded up.
    return 2 * qint64(m_fullSize.width()) * m_fullSize.height();
}

GdImage HeifDecoder::decode()
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
    if (heif_decode_image(m_container->primary.get(), &decoded, heif_colorspace_RGB,
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
    GdImage image(gdImageCreateTrueColor(width, height));
    if (!image) {
        m_failure = DecodeFailure::OutOfMemory;
        return nullptr;
    }
    const ColourConversion colours =
        m_transforms.conversionFor(SourcePixels::Colour, iccProfile(m_container->primary.get()));
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
