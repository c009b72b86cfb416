#pragma once

#include <array>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/map_grid.h"
#include "draw/image.h"
#include "editing/view_state.h"
#include "export/map_picture.h"
#include "export/piece_layout.h"
#include "export/tile_set.h"

namespace kxc2 {

// A zoom of the preview as a fraction: 25 % is 1/4.
struct PreviewZoom {
  int numerator = 1;
  int denominator = 1;
  // The picture pixel that view pixel v shows: the one under its centre.
  int toPicture(int v) const;
  // View pixels needed for extent picture pixels.
  int viewExtent(int extent) const;
  // The first view pixel at or right of picture pixel p's left edge.
  int toView(int p) const;
  // The view pixels that show a rectangle of the picture.
  Rect toView(const Rect& picture) const;
};

PreviewZoom ZoomOfPercent(int percent);

// Fonts are the shell's: labels name one of two and the shell measures.
enum class LabelFont { Normal, Small };
// The pixel size the shell gives the small font.
inline constexpr int kSmallLabelPixels = 9;
// A text's advance and line height in a font.
using MeasureText = std::function<Size(const std::string& text, LabelFont font)>;

// A piece as the pane outlines it, in view pixels. The label lies inside
// the piece, or is empty where no label fits.
struct PieceMark {
  Rect piece;
  Rect label;
  std::string text;
  LabelFont font = LabelFont::Normal;
};

// Every piece of a picture with the richest label that fits at the zoom.
std::vector<PieceMark> PieceMarks(const PictureSize& size, PreviewZoom zoom, int mapNumber,
                                  const MeasureText& measure);

// The number the labels and the export name use. An Untitled map has no
// number of its own (New keeps the last map's): Paint .BMPs would propose
// the parameters dialog's, which a dialog not yet made starts at the lowest.
int PieceMapNumber(const MapHeader& header, bool untitled, std::optional<int> dialogNumber);

// Where the editor's view scrolls before a preview click selects a hex:
// nowhere when zoomed out or when the hex is already shown.
std::optional<HexCoord> OriginToShow(const ViewState& view, HexCoord hex);

class MapEditor;
// A preview click: the editor's view scrolls as OriginToShow says, then the
// hex is selected as a middle click on it selects it.
void SelectHexInEditor(MapEditor& editor, HexCoord hex);

// The preview's picture of the map as Paint .BMPs paints it: a tile set and
// variants per season, drawn once while the preview lives.
class ArtworkPreviewModel {
 public:
  // Loads a season's tile set when first needed: the folders it is loaded
  // from may change while the preview lives.
  using LoadTiles = std::function<TileSet(bool winter)>;
  explicit ArtworkPreviewModel(LoadTiles loadTiles);

  bool winter() const { return winter_; }
  void setWinter(bool winter) { winter_ = winter; }
  // The picture at 100 %, 8-bit with the tile set's palette; null when the
  // tile set could not be loaded.
  const Image& picture() const { return picture_; }
  const VariantGrid& variants() const { return variants_[winter_ ? 1 : 0]; }
  const PictureSize& size() const { return size_; }

  // Paints the whole picture; the status line's text: its size or why not.
  std::string repaintWhole(const MapDocument& document);
  // Whether the header's size is not the picture's.
  bool sizeChanged(const MapHeader& header) const;
  // Repaints what changed hexes touch; the picture's rectangles repainted,
  // or nothing after painting the whole when that was needed.
  std::optional<std::vector<Rect>> repaintHexes(const MapDocument& document, const std::vector<HexCoord>& hexes);

  std::string sizeText() const;
  // The size text with the hex under a picture pixel and its terrain.
  std::string pointerText(const MapGrid& grid, Point picturePixel) const;
  // What Export Picture proposes.
  std::string exportFileName(int mapNumber) const;

 private:
  const TileSet& tileSet();

  LoadTiles loadTiles_;
  bool winter_ = false;
  std::mt19937 random_;
  std::array<std::optional<TileSet>, 2> tiles_;
  std::array<VariantGrid, 2> variants_{};
  std::array<bool, 2> variantsDrawn_{};
  Image picture_;
  PictureSize size_;
};

}  // namespace kxc2
