#pragma once

#include "imaging/ProfileOutputs.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <vector>

// One picture of a group as its markup shows it.
struct MarkupPicture
{
    // The thumbnail files that were made, in any order; a picture without its JPEG (at 1x)
    // has nothing to show and is left out.
    std::vector<ProfileOutput> thumbnails;
    // The large JPEG's file name, linked around the thumbnail; no link when empty.
    QString largeImage;
    QString altText;
};

// The alternative text of a picture: its EXIF ImageDescription, else its XMP title, else its
// file name. Either block may be empty.
QString markupAltText(QByteArrayView exifBlock, QByteArrayView xmp, const QString& fileName);

// The HTML fragment of one group, in UTF-8: per picture, in the order given, one line with a
// link to the large image around a <picture> that offers AVIF and WebP where made, each at 1x
// and 2x, and the JPEG with its exact width and height, so the page does not shift while it
// loads. Thumbnails are named bare, as the fragment lies beside them; large images by
// largeFolder, the path from the thumbnail folder to theirs ("../images"; empty for the same
// folder). Every text is escaped, and every name is a valid URL path whatever it holds. The
// markup is also well-formed XML.
QByteArray groupMarkup(const std::vector<MarkupPicture>& pictures, const QString& largeFolder);
