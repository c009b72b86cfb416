// The Artwork Preview without its window: zoom, piece marks, the picture.
#include "editing/artwork_preview_model.h"

#include <cstdio>
#include <exception>
#include <utility>

#include "core/terrain.h"
#include "editing/map_editor.h"
#include "editing/map_view.h"
#include "export/map_painter.h"

namespace kxc2 {
namespace {

// Off the outline, so the piece's edge stays visible all round.
constexpr int kLabelInset = 2;

int FloorDiv(int value, int divisor) { return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor); }

}  // namespace

// ---- Zoom ---------------------------------------------------------------

int PreviewZoom::toPicture(int v) const { return FloorDiv((2 * v + 1) * denominator, 2 * numerator); }

int PreviewZoom::viewExtent(int extent) const {
  return (2 * numerator * extent + denominator - 1) / (2 * denominator);
}

int PreviewZoom::toView(int p) const {
  const int twice = 2 * denominator;
  return -FloorDiv(-(2 * numerator * p - denominator), twice);
}

Rect PreviewZoom::toView(const Rect& picture) const {
  const int left = toView(picture.left());
  const int top = toView(picture.top());
  return {left, top, toView(picture.right() + 1) - left, toView(picture.bottom() + 1) - top};
}

PreviewZoom ZoomOfPercent(int percent) {
  if (percent >= 100) return {percent / 100, 1};
  return {1, 100 / percent};
}

// ---- Piece marks --------------------------------------------------------

std::vector<PieceMark> PieceMarks(const PictureSize& size, PreviewZoom zoom, int mapNumber,
                                  const MeasureText& measure) {
  std::vector<PieceMark> marks;
  // Richest label first; a zoomed-out view starts further down so the
  // labels cover less of the picture. Pieces too small for any go without.
  const int pieceViewWidth = zoom.viewExtent(kPieceWidth);
  const int first = pieceViewWidth >= kPieceWidth ? 0 : pieceViewWidth >= kPieceWidth / 2 ? 1 : 2;
  for (int i = 0; i < PieceColumnCount(size); ++i) {
    for (int j = 0; j < PieceRowCount(size); ++j) {
      PieceMark mark;
      mark.piece = zoom.toView(Rect(kPieceWidth * i, kPieceHeight * j, PieceWidth(size, i), PieceHeight(size, j)));
      const std::string file = PieceFileName(mapNumber, i, j);
      const std::array<std::string, 4> texts = {
          file + "  " + std::to_string(PieceWidth(size, i)) + " x " + std::to_string(PieceHeight(size, j)), file,
          file, file.substr(0, file.size() - 4)};
      const Rect room = mark.piece.adjusted(kLabelInset, kLabelInset, -kLabelInset, -kLabelInset);
      for (int form = first; form < int(texts.size()); ++form) {
        const LabelFont font = form < 2 ? LabelFont::Normal : LabelFont::Small;
        const std::string& text = texts[std::size_t(form)];
        const Size extent = measure(text, font);
        const Rect label(room.topLeft(), Size(extent.width() + 6, extent.height() + 2));
        if (!room.contains(label)) continue;
        mark.label = label;
        mark.text = text;
        mark.font = font;
        break;
      }
      marks.push_back(std::move(mark));
    }
  }
  return marks;
}

int PieceMapNumber(const MapHeader& header, bool untitled, std::optional<int> dialogNumber) {
  const int number = header.mapNumber;
  if (!untitled && number >= kMinMapNumber && number <= kMaxMapNumber) return number;
  return dialogNumber.value_or(kMinMapNumber);
}

std::optional<HexCoord> OriginToShow(const ViewState& view, HexCoord hex) {
  const bool shown = hex.column >= view.OriginColumn && hex.column < view.OriginColumn + ShownColumns(view) &&
                     hex.row >= view.OriginRow && hex.row < view.OriginRow + ShownRows(view);
  if (!view.ZoomedIn || shown) return std::nullopt;
  return ZoomInOrigin(hex.column, hex.row, view);
}

void SelectHexInEditor(MapEditor& editor, HexCoord hex) {
  if (const auto origin = OriginToShow(editor.viewState(), hex)) {
    editor.HScrollBarScroll(origin->column);
    editor.VScrollBarScroll(origin->row);
  }
  editor.MapImageMouseUp(MouseButton::Middle, CellRect(editor.viewState(), hex.column, hex.row).center());
}

// ---- The picture --------------------------------------------------------

ArtworkPreviewModel::ArtworkPreviewModel(LoadTiles loadTiles)
    : loadTiles_(std::move(loadTiles)), random_(SeedFromClock()) {}

// Loaded once per season while the preview lives; the variants with it.
const TileSet& ArtworkPreviewModel::tileSet() {
  const int season = winter_ ? 1 : 0;
  if (!tiles_[season]) tiles_[season] = loadTiles_(winter_);
  if (!variantsDrawn_[season]) {
    variants_[season] = DrawVariants(random_, tiles_[season]->variantCount());
    variantsDrawn_[season] = true;
  }
  return *tiles_[season];
}

bool ArtworkPreviewModel::sizeChanged(const MapHeader& header) const {
  return MapPictureSize(ColumnsInDialogRange(header.columns), RowsInDialogRange(header.rows)) != size_;
}

std::string ArtworkPreviewModel::repaintWhole(const MapDocument& document) {
  const int columns = ColumnsInDialogRange(document.header.columns);
  const int rows = RowsInDialogRange(document.header.rows);
  size_ = MapPictureSize(columns, rows);
  try {
    picture_ = PaintMapPicture(document.grid, columns, rows, tileSet(), variants());
    return sizeText();
  } catch (const std::exception& error) {
    picture_ = Image();
    return error.what();
  }
}

std::optional<std::vector<Rect>> ArtworkPreviewModel::repaintHexes(const MapDocument& document,
                                                                   const std::vector<HexCoord>& hexes) {
  if (picture_.isNull() || sizeChanged(document.header)) return std::nullopt;
  return RepaintChangedHexes(picture_, document.grid, tileSet(), variants(), hexes);
}

std::string ArtworkPreviewModel::sizeText() const {
  return std::to_string(size_.width) + " x " + std::to_string(size_.height) + " pixels, " +
         std::to_string(PieceColumnCount(size_) * PieceRowCount(size_)) + " pieces";
}

std::string ArtworkPreviewModel::pointerText(const MapGrid& grid, Point picturePixel) const {
  const HexCoord hex = HexAtPicturePixel(picturePixel.x(), picturePixel.y());
  char place[40];
  std::snprintf(place, sizeof place, "   Hex ( %.2d, %.2d ) ", hex.column, hex.row);
  return sizeText() + place + DisplayNameOrUnknown(grid.terrain(hex.column, hex.row));
}

std::string ArtworkPreviewModel::exportFileName(int mapNumber) const {
  char name[40];
  std::snprintf(name, sizeof name, "Map%.2d %s.png", mapNumber, winter_ ? "winter" : "summer");
  return name;
}

}  // namespace kxc2
