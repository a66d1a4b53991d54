#pragma once
// Opening and reading the files the operator picks. Only regular files are
// read: a folder or a device picked by mistake is refused like a missing
// file (errno EISDIR or ENODEV) instead of reading as empty or forever.

#include <cstdio>
#include <optional>
#include <string>

namespace korvex {

// fopen(path, "rb") of a regular file; nullptr with errno set otherwise.
std::FILE* OpenRegularFile(const std::string& path);

// The whole content of a regular file; nullopt when it cannot be opened or
// read, or does not fit in memory.
std::optional<std::string> ReadRegularFile(const std::string& path);

}  // namespace korvex
