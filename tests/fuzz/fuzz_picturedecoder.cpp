#include "imaging/ColourTransforms.h"
#include "imaging/PictureDecoder.h"

#include <QString>

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>

// The bytes as a picture file, JPEG or HEIF as its first bytes say, decoded at the size a
// thumbnail needs and whole: the way the batch and the preview read every picture.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // A file in memory: a regular file to the decoder, with no disk in the way.
    const int fd = memfd_create("picture", MFD_CLOEXEC);
    if (fd < 0)
        return 0;
    if (write(fd, data, size) == ssize_t(size)) {
        const QString path = QStringLiteral("/proc/self/fd/%1").arg(fd);
        // One run's transforms: they keep every profile met, which across a fuzzer's
        // millions of inputs would be all memory.
        ColourTransforms transforms;
        for (const QSize needed : {QSize(160, 120), QSize()}) {
            PictureDecoder decoder(path, transforms);
            if (decoder.failure() == DecodeFailure::None)
                decoder.decode(needed.isValid() ? needed : decoder.fullSize());
        }
    }
    close(fd);
    return 0;
}
