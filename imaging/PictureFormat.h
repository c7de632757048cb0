#pragma once

#include <QByteArrayView>
#include <QString>

// What a picture file holds, told from its first bytes: a file's name says nothing, since
// phones and users rename freely.
enum class PictureFormat
{
    Jpeg,
    Heif,
    Other
};

// headBytes is the start of the file; its first 64 bytes are enough.
PictureFormat sniffPictureFormat(QByteArrayView headBytes);

// The type suffix a renamed original ends in. A JPEG gets ".jpg", as originals have always
// been named. A HEIF original keeps its real type: its own suffix when that names HEIF
// (".HEIC" stays ".HEIC"), ".heic" when its name said something else.
QString originalFileSuffix(PictureFormat format, const QString& fileName);
