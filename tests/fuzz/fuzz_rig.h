#pragma once
// What every fuzz target reads its input with, one per process: the
// readers open a path, so each input goes to one in-memory file, rewritten
// for each input (no disk traffic, nothing left behind when a run is
// stopped or crashes); a machine with factory settings; and a host that
// answers every box the readers raise.

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "motion/machine.h"
#include "platform/headless.h"

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

struct FuzzRig {
    InputFile file;
    ScriptedHost host;
    Machine m;

    FuzzRig() {
        LoadFactoryDefaults(m.settings);
        m.log.setHost(&host);
    }
    // Writes the input, forgetting the boxes of the last one; returns its path.
    const std::string& input(const uint8_t* data, size_t size) {
        host.boxes.clear();
        return file.write(data, size);
    }
};

inline FuzzRig& Rig() {
    static FuzzRig rig;
    return rig;
}

}  // namespace korvex::fuzz
