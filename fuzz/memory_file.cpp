#include "fuzz/memory_file.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>

namespace kxc2::fuzz {

MemoryFile::MemoryFile(const std::uint8_t* data, std::size_t size)
    : fd_(::memfd_create("fuzz-input", MFD_CLOEXEC)), path_("/proc/self/fd/" + std::to_string(fd_)) {
  // A harness that cannot hand over its input would report false findings.
  if (fd_ < 0) std::abort();
  while (size > 0) {
    const ssize_t written = ::write(fd_, data, size);
    if (written <= 0) std::abort();
    data += written;
    size -= static_cast<std::size_t>(written);
  }
}

MemoryFile::~MemoryFile() { ::close(fd_); }

}  // namespace kxc2::fuzz
