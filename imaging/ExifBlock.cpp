#include "imaging/ExifBlock.h"

bool isExifBlock(QByteArrayView block)
{
    return block.size() > exifHeader.size() && block.startsWith(exifHeader);
}

QByteArray tiffPart(const QByteArray& block)
{
    return isExifBlock(block) ? block.sliced(exifHeader.size()) : block;
}

ExifDataPtr loadExif(QByteArrayView block)
{
    if (!isExifBlock(block))
        return nullptr;
    ExifDataPtr data(exif_data_new());
    if (!data)
        return nullptr;
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(data.get(), reinterpret_cast<const unsigned char*>(block.data()),
                        unsigned(block.size()));
    return data;
}

QByteArray mainPictureText(QByteArrayView block, ExifTag tag)
{
    const ExifDataPtr data = loadExif(block);
    if (!data)
        return {};
    const ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], tag);
    // Text tags are ASCII by the standard; software that writes UTF-8 marks some as bytes.
    if (!entry || !entry->data ||
        (entry->format != EXIF_FORMAT_ASCII && entry->format != EXIF_FORMAT_UNDEFINED &&
         entry->format != EXIF_FORMAT_BYTE))
        return {};
    QByteArray text(reinterpret_cast<const char*>(entry->data), qsizetype(entry->size));
    while (!text.isEmpty() && text.back() == '\0')
        text.chop(1);
    return text;
}
