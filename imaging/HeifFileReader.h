#pragma once

#include "base/RegularFile.h"

#include <libheif/heif.h>

#include <cstdint>

// libheif's reader over an opened picture file: libheif asks for the boxes it needs as it
// needs them, so a large file is never read whole, and a file shorter than its boxes claim
// is found out. Keep it alive as long as the context that reads through it.
struct HeifFileReader
{
    FilePtr file;
    int64_t size = 0;
    int64_t position = 0;

    // Takes the file; false when its size cannot be told.
    bool open(FilePtr opened);

    static const heif_reader calls;
};

// libheif registers its codecs on first use; this does it once, before threads race to it.
void initialiseLibheif();
