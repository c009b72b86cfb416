// Map read and write against the raw file operations they are built on.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "bench/support/temp_folder.h"
#include "core/map_file.h"

namespace {

// Removed when the program ends.
std::string BenchFolder() {
  static const kxc2::bench::TempFolder folder("kxc2-bench-map");
  return folder.withSlash();
}

kxc2::MapDocument BusyDocument() {
  kxc2::MapDocument document;
  document.header = {45, 44, 39};
  for (int column = 0; column < kxc2::kGridColumns; ++column)
    for (int row = 0; row < kxc2::kGridRows; ++row)
      document.grid.setRecord(column, row, {static_cast<std::uint8_t>((column * 7 + row) % 17), 1,
                                            static_cast<std::uint8_t>(row * 5), 2, 3, 4, 5});
  return document;
}

void BM_WriteMapFile(benchmark::State& state) {
  const auto document = BusyDocument();
  const std::string path = BenchFolder() + "write.map";
  for (auto _ : state) kxc2::WriteMapFile(path, document);
}
BENCHMARK(BM_WriteMapFile);

// Floor: the same bytes written raw to a temporary, synced, renamed, with
// the same flushing as the safe write: the file, then the folder, so that
// the rename itself lasts.
void BM_RawWriteSyncRename(benchmark::State& state) {
  const auto bytes = kxc2::EncodeMapFile(BusyDocument());
  const std::string folder = BenchFolder();
  const std::string path = folder + "raw.map";
  const std::string temp = path + ".tmp";
  for (auto _ : state) {
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) std::abort();
    ::fsync(fd);
    ::close(fd);
    ::rename(temp.c_str(), path.c_str());
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    ::fsync(folderFd);
    ::close(folderFd);
  }
}
BENCHMARK(BM_RawWriteSyncRename);

void BM_ReadMapFile(benchmark::State& state) {
  const std::string path = BenchFolder() + "read.map";
  kxc2::WriteMapFile(path, BusyDocument());
  kxc2::MapDocument document;
  for (auto _ : state) {
    kxc2::ReadMapFile(path, document);
    benchmark::DoNotOptimize(document);
  }
}
BENCHMARK(BM_ReadMapFile);

// Floor: one raw read of the whole file.
void BM_RawRead(benchmark::State& state) {
  const std::string path = BenchFolder() + "read.map";
  kxc2::WriteMapFile(path, BusyDocument());
  char buffer[kxc2::kMapFileSize];
  for (auto _ : state) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (::read(fd, buffer, sizeof buffer) != static_cast<ssize_t>(sizeof buffer)) std::abort();
    ::close(fd);
    benchmark::DoNotOptimize(buffer);
  }
}
BENCHMARK(BM_RawRead);

}  // namespace
