#pragma once

#include "imaging/PictureFacts.h"

#include <QLocale>

#include <span>
#include <vector>

class ImageList;

enum class ListOrder
{
    FileName,  // as people read names: "IMG_2" before "IMG_10", letter case and accents aside
    DateTaken, // by the camera's clock; pictures without a date after those with one
    Added,     // back to the order the pictures were added in
};

// The list's rows in the order asked: element i is the present index of the row that is to
// stand at i, as ImageList::reorder takes it. facts[i] belongs to row i; rows beyond the end
// of facts count as read without a date or file time (their facts may come in later).
//
// File names compare in the locale's collation with numbers by value; the C locale has no
// collation of its own and sorts as English does. Rows without a date follow the dated ones
// by the file's modification time. Ties keep going down the line: by name, by folder, and
// last by the order added, so the outcome never depends on the order before.
std::vector<int> listOrder(ListOrder order, const ImageList& list,
                           std::span<const PictureFacts> facts, const QLocale& locale = QLocale());
