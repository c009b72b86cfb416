// Any bytes as a .map file: the reader either refuses with "Read beyond end
// of file" and leaves the document exactly as it was, or takes the header
// and grid so that writing them gives back the same 12610 bytes (reserved
// bytes 6 to 9 aside, which are written as zero).
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "core/io_error.h"
#include "core/map_file.h"
#include "fuzz/memory_file.h"

namespace {

using kxc2::MapDocument;

// A document no file could leave by accident: a failed read must not touch it.
MapDocument MarkedDocument() {
  MapDocument document;
  document.header = {0x1234567, -5, 70000};
  for (int column = 0; column < kxc2::kGridColumns; ++column)
    for (int row = 0; row < kxc2::kGridRows; ++row)
      document.grid.setRecord(column, row, {0xEE, static_cast<std::uint8_t>(column), static_cast<std::uint8_t>(row),
                                            0xEE, 0xEE, 0xEE, 0xEE});
  return document;
}

std::int32_t U16At(const std::uint8_t* data, std::size_t at) { return data[at] | (data[at + 1] << 8); }

void Require(bool condition) {
  if (!condition) std::abort();
}

void CheckRefusal(const kxc2::IoError& error, std::size_t size, kxc2::MapFileReader& reader, MapDocument& document) {
  const MapDocument before = MarkedDocument();
  Require(size < kxc2::kMapReadSize && error.code() == kxc2::kIoReadBeyondEnd);
  Require(document.header == before.header);
  reader.readGrid(document.grid);  // nothing was loaded, so nothing to copy
  Require(document.grid == before.grid);
}

void CheckRoundTrip(const std::uint8_t* data, const MapDocument& document) {
  const auto bytes = kxc2::EncodeMapFile(document);
  Require(std::equal(bytes.begin(), bytes.begin() + 6, data));
  Require(std::all_of(bytes.begin() + 6, bytes.begin() + 10, [](std::uint8_t b) { return b == 0; }));
  Require(std::equal(bytes.begin() + 10, bytes.begin() + kxc2::kMapReadSize, data + 10));

  const kxc2::fuzz::MemoryFile written(bytes.data(), bytes.size());
  MapDocument again;
  kxc2::ReadMapFile(written.path(), again);
  Require(again.header == document.header && again.grid == document.grid);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const kxc2::fuzz::MemoryFile file(data, size);
  MapDocument document = MarkedDocument();
  kxc2::MapFileReader reader;
  try {
    reader.readHeader(file.path(), document.header);
  } catch (const kxc2::IoError& error) {
    CheckRefusal(error, size, reader, document);
    return 0;
  }
  Require(size >= kxc2::kMapReadSize);
  Require(document.header == (kxc2::MapHeader{U16At(data, 0), U16At(data, 2), U16At(data, 4)}));
  Require(document.grid == MarkedDocument().grid);  // the header phase touches the header only
  reader.readGrid(document.grid);
  CheckRoundTrip(data, document);
  return 0;
}
