#include "imaging/GdImage.h"

#include <cstdarg>
#include <mutex>

namespace {

void quietGdErrors(int, const char*, va_list) {}

} // namespace

GdImage newTrueColorImage(int width, int height)
{
    // GD writes its complaints, such as a size too large to allocate, to stderr; the program
    // reports failures its own way, so GD is silenced once for the whole process.
    static std::once_flag once;
    std::call_once(once, [] { gdSetErrorMethod(quietGdErrors); });
    return GdImage(gdImageCreateTrueColor(width, height));
}
