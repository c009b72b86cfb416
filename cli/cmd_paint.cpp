// kxc2tool paint / preview: the painter without a window.
#include <cstdio>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/input_files.h"
#include "cli/terminal_question.h"
#include "core/game_paths.h"
#include "core/os_files.h"
#include "export/map_painter.h"
#include "export/map_picture.h"
#include "export/piece_layout.h"
#include "export/png_writer.h"
#include "export/tile_set.h"

namespace kxc2::cli {

namespace {

std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  const auto absolute = std::filesystem::absolute(FsPath(path), error);
  return error ? path : Utf8Path(absolute);
}

// Given options must lie within the dialog's ranges; the file's own values
// are brought into them as the dialog would.
int MapColumns(const Arguments& args, const MapHeader& header) {
  if (auto given = args.number("--columns", kMinMapColumns, kMaxMapColumns)) return static_cast<int>(*given);
  return ColumnsInDialogRange(header.columns);
}

int MapRows(const Arguments& args, const MapHeader& header) {
  if (auto given = args.number("--rows", kMinMapRows, kMaxMapRows)) return static_cast<int>(*given);
  return RowsInDialogRange(header.rows);
}

int MapNumber(const Arguments& args, const MapHeader& header) {
  if (auto given = args.number("--map-number", kMinMapNumber, kMaxMapNumber)) return static_cast<int>(*given);
  if (header.mapNumber < kMinMapNumber || header.mapNumber > kMaxMapNumber)
    throw UsageError{"the map file's number " + std::to_string(header.mapNumber) +
                     " is outside 32..99; give --map-number N"};
  return header.mapNumber;
}

// Before the map file is read: a usage error should not wait for it.
void CheckNumbers(const Arguments& args) {
  args.number("--map-number", kMinMapNumber, kMaxMapNumber);
  args.number("--columns", kMinMapColumns, kMaxMapColumns);
  args.number("--rows", kMinMapRows, kMaxMapRows);
  args.number("--seed", 0, 0xFFFFFFFFLL);
}

std::uint32_t Seed(const Arguments& args) {
  if (auto given = args.number("--seed", 0, 0xFFFFFFFFLL)) return static_cast<std::uint32_t>(*given);
  return SeedFromClock();
}

std::string TileSetOption(const Arguments& args) {
  const auto tiles = args.value("--tiles");
  return tiles ? AbsolutePath(*tiles) : std::string();
}

void ExpectPositionals(const Arguments& args, std::size_t count, const char* what) {
  if (args.positionals().size() < count) throw UsageError{std::string("missing ") + what};
  if (args.positionals().size() > count) throw UsageError{"unexpected argument '" + args.positionals()[count] + "'"};
}

}  // namespace

int RunPaint(const std::vector<std::string>& argv) {
  const Arguments args(argv, {"--game-folder", "--map-number", "--columns", "--rows", "--tiles", "--seed"},
                       {"--winter", "--yes"});
  ExpectPositionals(args, 1, "map file");
  const auto gameFolder = args.value("--game-folder");
  if (!gameFolder) throw UsageError{"paint needs --game-folder DIR"};
  CheckNumbers(args);

  const MapDocument document = ReadMapInput(args.positionals()[0]);
  PaintRequest request;
  request.mapNumber = MapNumber(args, document.header);
  request.columns = MapColumns(args, document.header);
  request.rows = MapRows(args, document.header);
  request.winter = args.has("--winter");
  request.programFolder = ProgramFolder();
  request.gameFolder = WithTrailingSeparator(*gameFolder);
  request.seed = Seed(args);
  request.tileSetFile = TileSetOption(args);

  TerminalQuestion question(args.has("--yes"));
  const PaintResult result = PaintMapBitmaps(
      document, request, question.callback(),
      [](const std::string& path) { std::printf("%s\n", path.c_str()); std::fflush(stdout); });
  if (result.painted) return kExitOk;
  question.throwIfRefused();
  std::fprintf(stderr, "kxc2tool: nothing painted\n");
  return kExitFailure;
}

int RunPreview(const std::vector<std::string>& argv) {
  const Arguments args(argv, {"--columns", "--rows", "--tiles", "--seed"}, {"--winter"});
  ExpectPositionals(args, 2, args.positionals().empty() ? "map file" : "output file");
  CheckNumbers(args);

  const MapDocument document = ReadMapInput(args.positionals()[0]);
  const int columns = MapColumns(args, document.header);
  const int rows = MapRows(args, document.header);
  const std::string tileFile = TileSetOption(args);
  const bool winter = args.has("--winter");
  const TileSet tiles = tileFile.empty() ? LoadPainterTileSet(ProgramFolder(), winter) : LoadTileSetFile(tileFile);
  std::mt19937 random(Seed(args));
  const VariantGrid variants = DrawVariants(random, tiles.variantCount());

  const std::string output = args.positionals()[1];
  SavePng(output, PaintMapPicture(document.grid, columns, rows, tiles, variants));
  std::printf("%s\n", output.c_str());
  return kExitOk;
}

}  // namespace kxc2::cli
