// kxc2tool shp / unshp.
#include <algorithm>
#include <climits>
#include <new>
#include <cerrno>
#include <cstdio>
#include <stdexcept>

#include "cli/arguments.h"
#include "cli/commands.h"
#include "cli/input_files.h"
#include "cli/terminal_question.h"
#include "core/game_paths.h"
#include "core/io_error.h"
#include "core/os_files.h"
#include "export/bmp_writer.h"
#include "export/shp_conversion.h"
#include "export/shp_decoder.h"

namespace kxc2::cli {

namespace {

bool IsFolder(const std::string& path) { return KindOf(path) == FileKind::Folder; }

// The editor makes UserMap at start-up; without it the tool does the same.
std::string PrepareGameFolder(const std::string& value) {
  const std::string gameFolder = WithTrailingSeparator(value);
  if (!IsFolder(gameFolder)) throw std::runtime_error("game folder " + value + " is not a folder");
  const std::string userMap = ResolveNoCase(gameFolder, "UserMap");
  if (!IsFolder(userMap) && !MakeFolder(userMap)) {
    // Something that is no folder has the name: a file, or a link that loops or leads nowhere.
    if (errno == EEXIST) throw std::runtime_error(userMap + " is not a folder");
    throw std::runtime_error(userMap + ": " + IoErrorMessage(IoCodeFromErrno(errno, userMap)));
  }
  return gameFolder;
}

Image AsIndexedImage(const IndexedBitmap& bitmap) {
  Image image;
  try {
    if (bitmap.width <= INT_MAX && bitmap.height <= INT_MAX)
      image = Image(static_cast<int>(bitmap.width), static_cast<int>(bitmap.height), Image::Format_Indexed8);
  } catch (const std::bad_alloc&) {
  }
  if (image.isNull()) throw std::runtime_error("the image is too large to hold as a bitmap");
  std::vector<Rgb> table;
  for (const PaletteColour& c : bitmap.palette) table.push_back(MakeRgb(c.red, c.green, c.blue));
  image.setColorTable(table);
  for (std::size_t y = 0; y < bitmap.height; ++y) {
    const auto row = bitmap.row(y);
    std::copy(row.begin(), row.end(), image.scanLine(static_cast<int>(y)));
  }
  return image;
}

}  // namespace

int RunShp(const std::vector<std::string>& args) {
  const Arguments arguments(args, {"--game-folder"}, {"--yes"});
  if (arguments.positionals().empty()) throw UsageError{"shp needs at least one FILE.bmp"};
  const std::optional<std::string> gameFolder = arguments.value("--game-folder");
  if (!gameFolder) throw UsageError{"shp needs --game-folder DIR"};

  const std::vector<std::string>& bitmaps = arguments.positionals();
  const std::string folder = PrepareGameFolder(*gameFolder);
  std::size_t done = 0;
  ShpConversionResult result;
  TerminalQuestion question(arguments.has("--yes"));
  try {
    result = ConvertBitmapsToShp(bitmaps, folder, question.callback(), [&](const std::string& path) {
      std::printf("%s\n", path.c_str());
      std::fflush(stdout);
      ++done;
    });
  } catch (const IoError& error) {
    // The message alone does not say which file could not be written.
    const std::string userMap = WithTrailingSeparator(ResolveNoCase(folder, "UserMap"));
    throw std::runtime_error(ResolveNoCase(userMap, ShpNameForBitmap(bitmaps[done])) + ": " + error.what());
  }
  question.throwIfRefused();
  if (!result.completed) throw std::runtime_error("stopped at the question: no SHP files written");
  return kExitOk;
}

int RunUnshp(const std::vector<std::string>& args) {
  const Arguments arguments(args, {}, {});
  if (arguments.positionals().size() != 2) throw UsageError{"unshp needs FILE.shp and OUT.bmp"};
  const std::string& input = arguments.positionals()[0];
  const std::string& output = arguments.positionals()[1];

  IndexedBitmap bitmap;
  try {
    bitmap = DecodeShpFile(ReadInputBytes(input));
  } catch (const ShpFormatError& error) {
    throw std::runtime_error(input + ": malformed SHP file: " + error.what());
  }
  try {
    SaveBmp8(output, AsIndexedImage(bitmap));
  } catch (const IoError& error) {
    throw std::runtime_error(output + ": " + error.what());
  }
  return kExitOk;
}

}  // namespace kxc2::cli
