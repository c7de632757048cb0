#pragma once

#include <QString>

#include <cerrno>
#include <system_error>

// What a system error means, in the few words a status text or a row's note has room for:
// "disk full", "permission denied".
QString errorText(std::error_code error);

// The error the last failed system call left in errno.
inline std::error_code lastSystemError()
{
    return {errno, std::generic_category()};
}
