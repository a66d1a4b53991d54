#pragma once
// The readers open a path, so every fuzz input goes to one in-memory file
// per process, rewritten for each input: no disk traffic, and nothing left
// behind when a run is stopped or crashes.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace korvex::fuzz {

class InputFile {
  public:
    InputFile() : fd_(memfd_create("korvex-fuzz-input", 0)) {
        if (fd_ < 0) std::abort();
        path_ = "/proc/self/fd/" + std::to_string(fd_);
    }
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Replaces the contents with `size` bytes of `data`; returns the path.
    const std::string& write(const uint8_t* data, size_t size) {
        if (ftruncate(fd_, 0) != 0) std::abort();
        for (size_t done = 0; done < size;) {
            const ssize_t n = pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
            if (n <= 0) std::abort();
            done += static_cast<size_t>(n);
        }
        return path_;
    }

  private:
    int fd_;
    std::string path_;
};

}  // namespace korvex::fuzz
