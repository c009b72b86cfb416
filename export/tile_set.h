#pragma once

#include <optional>
#include <string>
#include <vector>

#include "draw/image.h"

namespace kxc2 {

// The painter's tiles: 45 x 50 pixels each, terrain t's variant v at
// (45 t, 50 v), held as an 8-bit indexed image whose colour table is padded
// to 256 entries (the pieces' palette).
class TileSet {
 public:
  // image must be Format_Indexed8.
  explicit TileSet(Image image);

  const Image& image() const { return image_; }
  const std::vector<Rgb>& palette() const { return palette_; }
  // Height div 50; 0 for a tile set lower than one tile.
  int variantCount() const { return image_.height() / 50; }

  // Where a hex's tile comes from. A terrain above 16, or a tile that would
  // reach outside the image, falls back to Clear's first variant; nothing
  // when even that does not fit.
  std::optional<Rect> tileRect(int terrain, int variant) const;

 private:
  bool contains(const Rect& rect) const;
  Image image_;
  std::vector<Rgb> palette_;
};

// The file beside the program that replaces a built-in set:
// "ST50x45.bmp" or "WT50x45.bmp".
std::string TileSetFileName(bool winter);

// Loads a Windows bitmap file of 8 bits per pixel (1- and 4-bit files are
// taken as indexed images with their own palettes). Throws
// std::runtime_error: "Cannot open file PATH", "Bitmap image is not valid"
// (also for a file shorter than its pixel data), "PATH is not an 8-bit bitmap".
TileSet LoadTileSetFile(const std::string& path);

TileSet BuiltinTileSet(bool winter);

// ProgramFolder's own tile-set file when there is one (found whatever its
// case), else userFolder's, else the built-in set.
TileSet LoadPainterTileSet(const std::string& programFolder, bool winter, const std::string& userFolder = {});

}  // namespace kxc2
