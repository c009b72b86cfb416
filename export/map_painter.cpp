#include "export/map_painter.h"

#include <chrono>
#include <cstdio>
#include <random>
#include <stdexcept>

#include "core/game_paths.h"
#include "export/bmp_writer.h"
#include "export/map_picture.h"
#include "export/piece_layout.h"
#include "export/tile_set.h"

namespace kxc2 {

std::uint32_t SeedFromClock() {
  return static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

namespace {

void CheckRequest(const PaintRequest& request) {
  CheckMapSize(request.columns, request.rows);
  if (request.mapNumber < kMinMapNumber || request.mapNumber > kMaxMapNumber)
    throw std::invalid_argument("map number " + std::to_string(request.mapNumber) + " is outside 32..99");
}

// True when painting may go on: no old pieces, or Yes and they are gone.
bool ClearOldPieces(const std::string& folder, int mapNumber, const PaintQuestion& ask) {
  const std::vector<std::string> old = MatchingFiles(folder, PiecePattern(mapNumber));
  if (old.empty()) return true;
  if (!ask(OldPiecesQuestion(mapNumber))) return false;
  DeleteFilesQuietly(old);
  return true;
}

TileSet LoadTiles(const PaintRequest& request) {
  if (!request.tileSetFile.empty()) return LoadTileSetFile(request.tileSetFile);
  return LoadPainterTileSet(request.programFolder, request.winter, request.userFolder);
}

}  // namespace

std::string OldPiecesQuestion(int mapNumber) {
  char text[128];
  std::snprintf(text, sizeof text,
                "One or more Map%.2d*.bmp files already exist.  DELETE them and create new bitmaps?", mapNumber);
  return text;
}

std::string PieceFolder(const std::string& gameFolder) { return ResolveNoCase(gameFolder, "UserBMP"); }

PaintResult PaintMapBitmaps(const MapDocument& document, const PaintRequest& request, const PaintQuestion& ask,
                            const PieceSaved& saved) {
  CheckRequest(request);
  const std::string folder = WithTrailingSeparator(PieceFolder(request.gameFolder));
  PaintResult result;
  if (!ClearOldPieces(folder, request.mapNumber, ask)) return result;

  const PictureSize size = MapPictureSize(request.columns, request.rows);
  const TileSet tiles = LoadTiles(request);
  std::mt19937 random(request.seed);
  const VariantGrid variants = DrawVariants(random, tiles.variantCount());

  for (int i = 0; i < PieceColumnCount(size); ++i) {
    for (int j = 0; j < PieceRowCount(size); ++j) {
      const std::string path = folder + PieceFileName(request.mapNumber, i, j);
      SaveBmp8(path, PaintPiece(document.grid, tiles, variants, size, i, j));
      result.files.push_back(path);
      if (saved) saved(path);
    }
  }
  result.painted = true;
  return result;
}

}  // namespace kxc2
