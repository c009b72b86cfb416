#include "cli/input_files.h"

#include <cerrno>
#include <stdexcept>

#include "core/io_error.h"
#include "core/map_file.h"
#include "core/os_files.h"

namespace kxc2::cli {

namespace {

[[noreturn]] void ThrowNamed(const std::string& path, const IoError& error) {
  throw std::runtime_error(path + ": " + error.what());
}

}  // namespace

MapDocument ReadMapInput(const std::string& path) {
  MapDocument document;
  try {
    ReadMapFile(path, document);
  } catch (const IoError& error) {
    ThrowNamed(path, error);
  }
  return document;
}

std::vector<std::uint8_t> ReadInputBytes(const std::string& path) {
  // Not blocking, and ordinary files only: a pipe or a device under the
  // name would hang the tool or never end.
  const ClosingDescriptor input(OpenForReading(path));
  if (input.get() < 0) ThrowNamed(path, IoErrorFromErrno(errno, path));
  const FileKind kind = KindOfOpen(input.get());
  if (kind == FileKind::Missing) ThrowNamed(path, IoErrorFromErrno(errno, path));
  if (kind != FileKind::Regular) ThrowNamed(path, IoError(kIoInvalidFilename));

  std::vector<std::uint8_t> bytes;
  if (!ReadToEnd(input.get(), bytes)) ThrowNamed(path, IoErrorFromErrno(errno, path));
  return bytes;
}

}  // namespace kxc2::cli
