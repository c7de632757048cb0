#include "imaging/ExifOrientation.h"

#include <cstddef>
#include <cstdint>

// The bytes as the payload of an APP1 segment, where cameras keep the EXIF orientation.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    exifOrientation(std::span<const unsigned char>(data, size));
    return 0;
}
