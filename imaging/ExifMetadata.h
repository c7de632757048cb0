#pragma once

#include <QByteArray>
#include <QDateTime>

#include <optional>
#include <span>

// Facts a camera wrote into an EXIF block (an APP1 payload, starting with "Exif"). A block
// that is damaged, or lacks what is asked, gives nothing; nothing here is guessed.

// When the picture was taken: DateTimeOriginal, with SubSecTimeOriginal's fraction of a
// second when there is one. It is the camera's clock as it was set, without a time zone;
// it is held as UTC only so that no daylight-saving rule moves it. None for a missing tag or
// one that holds no date, such as the "0000:00:00 00:00:00" of a camera never set.
std::optional<QDateTime> exifDateTaken(std::span<const unsigned char> app1Payload);

// The small JPEG a camera stores beside the picture, stored as the picture is (its
// orientation tag turns both); empty when the block holds none.
QByteArray exifThumbnail(std::span<const unsigned char> app1Payload);

// The EXIF item of a HEIF file as an APP1 payload: the item opens with the offset of the
// TIFF header that follows it. Empty when that offset leads nowhere.
QByteArray exifPayloadFromHeifItem(QByteArrayView item);
