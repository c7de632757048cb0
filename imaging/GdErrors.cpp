#include "imaging/GdErrors.h"

#include <gd.h>

#include <cstdarg>
#include <mutex>

namespace {

void quietGdErrors(int, const char*, va_list) {}

} // namespace

void silenceGdErrors()
{
    static std::once_flag once;
    std::call_once(once, [] { gdSetErrorMethod(quietGdErrors); });
}
