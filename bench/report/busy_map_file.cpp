// Writes the benches' busy 44 x 39 map to the file named on the command line.
#include <cstdio>
#include <exception>

#include "bench/support/busy_maps.h"
#include "core/map_file.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("Usage: busy_map_file OUT.map\n", stderr);
    return 2;
  }
  try {
    kxc2::WriteMapFile(argv[1], kxc2::bench::PaintedBusyMap());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "busy_map_file: %s\n", error.what());
    return 1;
  }
  return 0;
}
