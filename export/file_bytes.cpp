#include "export/file_bytes.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>

#include "core/atomic_file.h"
#include "core/io_error.h"
#include "core/os_files.h"

namespace kxc2 {

std::optional<std::vector<std::uint8_t>> ReadOrdinaryFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(FsPath(path), error)) return std::nullopt;
  std::ifstream file(FsPath(path), std::ios::binary);
  if (!file) return std::nullopt;
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (file.bad()) return std::nullopt;
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
