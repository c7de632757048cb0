#include "imaging/PictureHeader.h"

#include "base/RegularFile.h"
#include "imaging/DecodeFailure.h"
#include "imaging/ExifBlock.h"
#include "imaging/ExifOrientation.h"
#include "imaging/HeifContainer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <csetjmp>
#include <memory>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace {

// libjpeg leaves a failing call through longjmp; nothing between the jump target and the
// calls below may need a destructor, so everything they fill lives here.
struct JpegHeaderReader
{
    jpeg_source_mgr source;
    jpeg_error_mgr errors;
    std::jmp_buf jump;
    jpeg_decompress_struct info{};
    std::FILE* file = nullptr;
    qint64 bytesRead = 0;
    std::array<JOCTET, 16384> buffer;
    std::vector<JOCTET> exif; // the first APP1 block that is EXIF

    ~JpegHeaderReader() { jpeg_destroy_decompress(&info); }

    bool read(QSize& storedSize);
};

JpegHeaderReader& readerOf(j_common_ptr info)
{
    return *static_cast<JpegHeaderReader*>(info->client_data);
}

JpegHeaderReader& readerOf(j_decompress_ptr info)
{
    return readerOf(reinterpret_cast<j_common_ptr>(info));
}

[[noreturn]] void leave(j_common_ptr info)
{
    std::longjmp(readerOf(info).jump, 1);
}

void staySilent(j_common_ptr) {}
void ignoreWarning(j_common_ptr, int) {}
void startSource(j_decompress_ptr) {}
void endSource(j_decompress_ptr) {}

// Only the header is wanted: the end of the file, or of the bytes allowed, ends the reading.
boolean fillBuffer(j_decompress_ptr info)
{
    JpegHeaderReader& reader = readerOf(info);
    const size_t room = size_t(
        std::min<qint64>(qint64(reader.buffer.size()), maxJpegHeaderBytes - reader.bytesRead));
    const size_t got = room > 0 ? std::fread(reader.buffer.data(), 1, room, reader.file) : 0;
    if (got == 0)
        ERREXIT(info, JERR_INPUT_EOF);
    reader.bytesRead += qint64(got);
    reader.source.next_input_byte = reader.buffer.data();
    reader.source.bytes_in_buffer = got;
    return TRUE;
}

void skipBytes(j_decompress_ptr info, long count)
{
    jpeg_source_mgr& source = readerOf(info).source;
    while (count > 0) {
        if (source.bytes_in_buffer == 0)
            fillBuffer(info);
        const size_t step = std::min<size_t>(size_t(count), source.bytes_in_buffer);
        source.next_input_byte += step;
        source.bytes_in_buffer -= step;
        count -= long(step);
    }
}

JOCTET nextByte(j_decompress_ptr info)
{
    jpeg_source_mgr& source = readerOf(info).source;
    if (source.bytes_in_buffer == 0)
        fillBuffer(info);
    --source.bytes_in_buffer;
    return *source.next_input_byte++;
}

// Keeps the first EXIF block and skips every other APP1 segment (XMP, a second EXIF), so
// at most one segment's 64 kilobytes are held whatever the file holds.
boolean readApp1(j_decompress_ptr info)
{
    JpegHeaderReader& reader = readerOf(info);
    const int high = nextByte(info);
    const long length = long(high << 8 | nextByte(info)) - 2;
    if (length <= 0 || !reader.exif.empty()) {
        skipBytes(info, length);
        return TRUE;
    }
    reader.exif.resize(size_t(length));
    for (JOCTET& byte : reader.exif)
        byte = nextByte(info);
    if (!isExifBlock(std::span<const unsigned char>(reader.exif)))
        reader.exif.clear();
    return TRUE;
}

bool JpegHeaderReader::read(QSize& storedSize)
{
    // libjpeg keeps client_data through jpeg_create_decompress; every callback finds the
    // reader through it.
    info.client_data = this;
    info.err = jpeg_std_error(&errors);
    errors.error_exit = leave;
    errors.output_message = staySilent;
    errors.emit_message = ignoreWarning;
    if (setjmp(jump))
        return false;
    jpeg_create_decompress(&info);
    source.init_source = startSource;
    source.fill_input_buffer = fillBuffer;
    source.skip_input_data = skipBytes;
    source.resync_to_restart = jpeg_resync_to_restart;
    source.term_source = endSource;
    source.bytes_in_buffer = 0;
    source.next_input_byte = nullptr;
    info.src = &source;
    jpeg_set_marker_processor(&info, JPEG_APP0 + 1, readApp1);
    jpeg_read_header(&info, TRUE);
    storedSize = QSize(int(info.image_width), int(info.image_height));
    return true;
}

bool claimsAPicture(QSize size)
{
    return !size.isEmpty() && qint64(size.width()) * size.height() <= maxPicturePixels;
}

void readJpeg(FilePtr file, PictureHeader& header)
{
    const auto reader = std::make_unique<JpegHeaderReader>();
    reader->file = file.get();
    QSize stored;
    if (!reader->read(stored) || !claimsAPicture(stored))
        return;
    header.exif = QByteArray(reinterpret_cast<const char*>(reader->exif.data()),
                             qsizetype(reader->exif.size()));
    header.orientation =
        exifOrientation(std::span(reinterpret_cast<const unsigned char*>(header.exif.constData()),
                                  size_t(header.exif.size())));
    header.size = uprightSize(stored, header.orientation);
    header.readable = true;
}

void readHeif(FilePtr file, PictureHeader& header)
{
    HeifContainer container;
    if (!container.read(std::move(file)))
        return;
    // The size once turned, as the container gives it.
    const QSize size(heif_image_handle_get_width(container.primary()),
                     heif_image_handle_get_height(container.primary()));
    if (!claimsAPicture(size))
        return;
    header.size = size;
    header.exif = container.exif();
    header.readable = true;
}

QByteArray headOf(std::FILE* file)
{
    QByteArray head(64, Qt::Uninitialized);
    // pread leaves the file at its start for the reader that follows.
    const ssize_t got = pread(fileno(file), head.data(), head.size(), 0);
    head.truncate(got < 0 ? 0 : got);
    return head;
}

} // namespace

PictureHeader readPictureHeader(const QString& path)
{
    PictureHeader header;
    FilePtr file = openRegularFile(path);
    struct stat status;
    if (!file || fstat(fileno(file.get()), &status) != 0)
        return header;
    header.modified = QDateTime::fromMSecsSinceEpoch(
        qint64(status.st_mtim.tv_sec) * 1000 + status.st_mtim.tv_nsec / 1'000'000, Qt::UTC);
    header.format = sniffPictureFormat(headOf(file.get()));
    if (header.format == PictureFormat::Jpeg)
        readJpeg(std::move(file), header);
    else if (header.format == PictureFormat::Heif)
        readHeif(std::move(file), header);
    return header;
}
