#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Who took a picture and who holds its rights, as its EXIF Artist and Copyright tags say,
// byte for byte: a Copyright may hold the photographer's and the editor's notice apart by a
// NUL, which is kept. The terminating NULs are not part of the text.
struct Credits
{
    QByteArray artist;
    QByteArray copyright;

    bool isEmpty() const { return artist.isEmpty() && copyright.isEmpty(); }
    bool operator==(const Credits&) const = default;
};

// The credits in an EXIF block (see ExifBlock.h); none from a damaged block or anything else.
Credits readCredits(QByteArrayView exifBlock);

// An EXIF block holding the credits and nothing else: no position, no camera, no serial
// number, no orientation (outputs are upright already). Empty when there are no credits.
// Each text is cut to what keeps the block within one JPEG segment.
QByteArray creditsExif(const Credits& credits);
