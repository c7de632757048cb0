#include "imaging/Credits.h"

#include "imaging/ExifBlock.h"

#include <libexif/exif-data.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// Two texts of this length keep the block well inside the 65533 bytes of a JPEG segment.
constexpr qsizetype longestCredit = 32000;

struct ExifMemDeleter
{
    void operator()(ExifMem* memory) const { exif_mem_unref(memory); }
};

bool addText(ExifMem* memory, ExifData* data, ExifTag tag, const QByteArray& text)
{
    if (text.isEmpty())
        return true;
    const QByteArray value = text.first(std::min(text.size(), longestCredit)) + '\0';
    ExifEntry* entry = exif_entry_new_mem(memory);
    if (!entry)
        return false;
    entry->data = static_cast<unsigned char*>(exif_mem_alloc(memory, ExifLong(value.size())));
    if (!entry->data) {
        exif_entry_unref(entry);
        return false;
    }
    entry->tag = tag;
    entry->format = EXIF_FORMAT_ASCII;
    entry->components = (unsigned long)value.size();
    entry->size = unsigned(value.size());
    std::memcpy(entry->data, value.constData(), size_t(value.size()));
    exif_content_add_entry(data->ifd[EXIF_IFD_0], entry);
    exif_entry_unref(entry);
    return true;
}

} // namespace

Credits readCredits(QByteArrayView exifBlock)
{
    return {mainPictureText(exifBlock, EXIF_TAG_ARTIST),
            mainPictureText(exifBlock, EXIF_TAG_COPYRIGHT)};
}

QByteArray creditsExif(const Credits& credits)
{
    if (credits.isEmpty())
        return {};
    const std::unique_ptr<ExifMem, ExifMemDeleter> memory(exif_mem_new_default());
    if (!memory)
        return {};
    const ExifDataPtr data(exif_data_new_mem(memory.get()));
    if (!data)
        return {};
    // Only what is added here: following the standard would add its mandatory tags.
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_set_byte_order(data.get(), EXIF_BYTE_ORDER_INTEL);
    if (!addText(memory.get(), data.get(), EXIF_TAG_ARTIST, credits.artist) ||
        !addText(memory.get(), data.get(), EXIF_TAG_COPYRIGHT, credits.copyright))
        return {};
    unsigned char* saved = nullptr;
    unsigned size = 0;
    exif_data_save_data(data.get(), &saved, &size);
    if (!saved)
        return {};
    QByteArray block(reinterpret_cast<const char*>(saved), qsizetype(size));
    exif_mem_free(memory.get(), saved);
    return block;
}
