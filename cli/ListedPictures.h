#pragma once

#include "cli/BatchJob.h"
#include "imaging/ImageBatch.h"

#include <QStringList>

#include <vector>

// The files of the command line as the window's list would hold them: absolute paths,
// each listed once, in the order given.
struct ListedPictures
{
    std::vector<BatchRow> rows;
    QStringList missing; // files that do not exist, left out of the rows

    static ListedPictures fromFiles(const std::vector<BatchFile>& files);
};
