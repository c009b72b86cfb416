#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kxc2::fuzz {

// The fuzzer's bytes as a file the readers open by path, kept in memory so
// millions of runs leave nothing behind on disk.
class MemoryFile {
 public:
  MemoryFile(const std::uint8_t* data, std::size_t size);
  ~MemoryFile();
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  // A /proc/self/fd path that opens a fresh view of the bytes.
  const std::string& path() const { return path_; }

 private:
  int fd_;
  std::string path_;
};

}  // namespace kxc2::fuzz
