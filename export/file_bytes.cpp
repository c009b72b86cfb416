#include "export/file_bytes.h"

#include <optional>
#include <stdexcept>

#include "core/atomic_file.h"
#include "core/io_error.h"
#include "core/os_files.h"

namespace kxc2 {

std::optional<std::vector<std::uint8_t>> ReadOrdinaryFile(const std::string& path) {
  const ClosingDescriptor file(OpenForReading(path));
  if (file.get() < 0 || KindOfOpen(file.get()) != FileKind::Regular) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  if (!ReadToEnd(file.get(), bytes)) return std::nullopt;
  return bytes;
}

void WriteExportFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::optional<AtomicFile> file;
  try {
    file.emplace(path);
  } catch (const IoError&) {
    throw std::runtime_error("Cannot create file " + path);
  }
  file->write(bytes.data(), bytes.size());
  file->commit();
}

}  // namespace kxc2
