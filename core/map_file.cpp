#include "core/map_file.h"

#include <algorithm>
#include <cstring>
#include <cerrno>

#include "core/atomic_file.h"
#include "core/io_error.h"
#include "core/os_files.h"

namespace kxc2 {
namespace {

constexpr std::size_t kGridOffset = 10;
constexpr std::array<std::uint8_t, 15> kTrailerHead = {0x01, 0x55, 0x01, 0x0C, 0x04, 0x01, 0x00, 0x0E,
                                                        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

std::size_t RecordOffset(int column, int row) {
  return kGridOffset + static_cast<std::size_t>(kHexRecordSize) * (kGridColumns * row + column);
}

void PutU16(std::uint8_t* at, std::int32_t value) {
  at[0] = static_cast<std::uint8_t>(value & 0xFF);
  at[1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

std::int32_t GetU16(const std::uint8_t* at) { return at[0] | (at[1] << 8); }

// Reads exactly size bytes or reports why not.
void ReadExactly(int fd, std::uint8_t* into, std::size_t size, const std::string& path) {
  while (size > 0) {
    const long got = ReadSome(fd, into, size);
    if (got < 0) throw IoErrorFromErrno(errno, path);
    if (got == 0) throw IoError(kIoReadBeyondEnd);
    into += got;
    size -= static_cast<std::size_t>(got);
  }
}

}  // namespace

std::array<std::uint8_t, kMapFileSize> EncodeMapFile(const MapDocument& document) {
  std::array<std::uint8_t, kMapFileSize> bytes{};  // reserved bytes and trailer body stay zero
  PutU16(&bytes[0], document.header.mapNumber);
  PutU16(&bytes[2], document.header.columns);
  PutU16(&bytes[4], document.header.rows);
  document.grid.forEachInFileOrder([&](int column, int row, const HexRecord& record) {
    std::copy(record.begin(), record.end(), bytes.begin() + RecordOffset(column, row));
  });
  std::copy(kTrailerHead.begin(), kTrailerHead.end(), bytes.begin() + kMapReadSize);
  return bytes;
}

void WriteMapFile(const std::string& path, const MapDocument& document) {
  const auto bytes = EncodeMapFile(document);
  WriteFileAtomically(path, bytes.data(), bytes.size());
}

void MapFileReader::readHeader(const std::string& path, MapHeader& header) {
  // Read-only: a map the user may not change still opens.
  // Not blocking: a pipe under a map's name would otherwise hang the program in open or read.
  ClosingDescriptor file(OpenForReading(path));
  if (file.get() < 0) throw IoErrorFromErrno(errno, path);
  const FileKind kind = KindOfOpen(file.get());
  if (kind == FileKind::Missing) throw IoErrorFromErrno(errno, path);
  if (kind != FileKind::Regular) throw IoError(kIoInvalidFilename);
  // Read into the reader's own buffer only; a failure leaves the caller's map alone.
  loaded_ = false;
  ReadExactly(file.get(), bytes_.data(), bytes_.size(), path);
  loaded_ = true;
  header.mapNumber = GetU16(&bytes_[0]);
  header.columns = GetU16(&bytes_[2]);
  header.rows = GetU16(&bytes_[4]);
}

void MapFileReader::readGrid(MapGrid& grid) const {
  if (!loaded_) return;
  // Walk in the grid's own order so the stores run straight through it.
  for (int column = 0; column < kGridColumns; ++column)
    for (int row = 0; row < kGridRows; ++row)
      std::memcpy(grid.mutableRecord(column, row).data(), &bytes_[RecordOffset(column, row)], kHexRecordSize);
}

void ReadMapFile(const std::string& path, MapDocument& document) {
  MapFileReader reader;
  reader.readHeader(path, document.header);
  reader.readGrid(document.grid);
}

}  // namespace kxc2
