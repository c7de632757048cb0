#pragma once

#include <QByteArrayView>

// What a picture file holds, told from its first bytes: a file's name says nothing, since
// phones and users rename freely.
enum class PictureFormat { Jpeg, Heif, Other };

// headBytes is the start of the file; its first 64 bytes are enough.
PictureFormat sniffPictureFormat(QByteArrayView headBytes);
