#pragma once

#include <cstddef>
#include <string>

namespace kxc2 {

// Writes a file beside its target and renames it over the target only when
// every byte is on disk, so a failure never leaves a truncated file under the
// final name or destroys the old one. Errors throw IoError.
class AtomicFile {
 public:
  explicit AtomicFile(std::string path);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void write(const void* data, std::size_t size);
  // Flushes, syncs and renames; after this the destructor leaves the file be.
  void commit();

  const std::string& path() const { return path_; }

 private:
  void discard() noexcept;

  std::string path_;
  std::string tempPath_;
  int fd_ = -1;
};

// One-shot form: the whole content at once.
void WriteFileAtomically(const std::string& path, const void* data, std::size_t size);

}  // namespace kxc2
