#pragma once

#include <QString>

#include <cstdio>
#include <memory>

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The file opened for reading; null unless it is a regular file. Opening never waits: a
// FIFO waits for a writer, and a device may do anything.
FilePtr openRegularFile(const QString& path);
