#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/map_grid.h"

namespace kxc2 {

inline constexpr std::size_t kMapFileSize = 14561;
inline constexpr std::size_t kMapReadSize = 12610;  // header and grid; the trailer is never read

// The whole 14561-byte file for a document.
std::array<std::uint8_t, kMapFileSize> EncodeMapFile(const MapDocument& document);

// Writes the file safely; throws IoError and leaves any old file untouched.
void WriteMapFile(const std::string& path, const MapDocument& document);

// Reads in two phases so the caller can act on the header first. The header
// phase reads and checks all 12610 bytes before it changes anything, so a
// failed read leaves the document exactly as it was.
class MapFileReader {
 public:
  // Throws IoError; on success sets header and keeps the grid bytes.
  void readHeader(const std::string& path, MapHeader& header);
  // Copies the grid read by readHeader; cannot fail.
  void readGrid(MapGrid& grid) const;

 private:
  std::array<std::uint8_t, kMapReadSize> bytes_;  // filled by readHeader before any use
  bool loaded_ = false;
};

// Both phases at once, all or nothing.
void ReadMapFile(const std::string& path, MapDocument& document);

}  // namespace kxc2
