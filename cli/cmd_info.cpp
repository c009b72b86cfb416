#include <array>
#include <cstdio>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/input_files.h"
#include "core/terrain.h"

namespace kxc2::cli {

int RunInfo(const std::vector<std::string>& args) {
  const Arguments arguments(args, {}, {});
  if (arguments.positionals().size() != 1) throw UsageError{"info needs exactly one FILE.map"};
  const MapDocument document = ReadMapInput(arguments.positionals()[0]);

  std::array<int, 256> hexesPerCode{};
  int hexesWithRoads = 0;
  document.grid.forEachInFileOrder([&](int, int, const HexRecord& record) {
    ++hexesPerCode[record[0]];
    if (record[2] != 0) ++hexesWithRoads;
  });

  std::printf("map number: %d\ncolumns: %d\nrows: %d\nterrain:\n", document.header.mapNumber,
              document.header.columns, document.header.rows);
  for (int code = 0; code < 256; ++code) {
    if (hexesPerCode[code] == 0) continue;
    std::printf("  %3d %-20s %4d\n", code, DisplayNameOrUnknown(code).c_str(), hexesPerCode[code]);
  }
  std::printf("hexes with roads: %d\n", hexesWithRoads);
  return kExitOk;
}

}  // namespace kxc2::cli
