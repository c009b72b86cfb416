#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/map_grid.h"

namespace kxc2 {

// What the map-parameters dialog (or kxc2tool's options) decided.
struct PaintRequest {
  int mapNumber = 32;
  int columns = 44;
  int rows = 39;
  bool winter = false;
  std::string programFolder;  // with its trailing separator
  std::string userFolder;     // tile sets looked for here after programFolder
  std::string gameFolder;     // with its trailing separator
  std::uint32_t seed = 0;
  std::string tileSetFile;    // replaces the tile-set lookup when not empty
};

// Asked before old pieces are deleted; true for Yes.
using PaintQuestion = std::function<bool(const std::string& question)>;
// Told each piece's full path once it is saved.
using PieceSaved = std::function<void(const std::string& path)>;

struct PaintResult {
  bool painted = false;             // false: the question was answered No
  std::vector<std::string> files;   // in the order written
};

// "One or more Map%.2d*.bmp files already exist.  DELETE them and create new bitmaps?"
// A new seed at each call, for a paint or preview that names none.
std::uint32_t SeedFromClock();

std::string OldPiecesQuestion(int mapNumber);

// The folder the pieces go to: GameFolder's UserBMP, whatever its case.
std::string PieceFolder(const std::string& gameFolder);

// Deletes the map number's old pieces (after asking), then paints the map's
// pieces from the tile set and saves each one into UserBMP, column by
// column. Throws std::runtime_error with the message the user sees (tile
// set, "Cannot create file PATH", or the IoError of a failed write); the
// pieces saved before stay. Throws std::invalid_argument for parameters
// outside the dialog's ranges.
PaintResult PaintMapBitmaps(const MapDocument& document, const PaintRequest& request, const PaintQuestion& ask,
                            const PieceSaved& saved = {});

}  // namespace kxc2
