// The Artwork Preview's picture, piece marks and names, without a window.
#include "editing/artwork_preview_model.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "core/terrain.h"
#include "editing/map_view.h"
#include "tests/support/busy_map.h"

namespace kxc2 {
namespace {

// Stands in for the shell's fonts: a fixed advance per character.
MeasureText Measure(int normalAdvance, int smallAdvance) {
  return [=](const std::string& text, LabelFont font) {
    return font == LabelFont::Normal ? Size(normalAdvance * int(text.size()), 12)
                                     : Size(smallAdvance * int(text.size()), 9);
  };
}

// Piece (2, 0) per zoom; labels inside their pieces, none on the 5-pixel row;
// a label too wide for its room gives way to the next shorter one.
TEST(PreviewMarksTest, LabelsStayInsideTheirPiecesRichestFirst) {
  const PictureSize size = MapPictureSize(44, 39);
  const std::tuple<int, int, Rect, std::string> cases[] = {{25, 6, {320, 0, 156, 120}, "Map5720.bmp"},
      {50, 6, {640, 0, 313, 240}, "Map5720.bmp"}, {100, 6, {1280, 0, 626, 480}, "Map5720.bmp  626 x 480"},
      {200, 6, {2560, 0, 1252, 960}, "Map5720.bmp  626 x 480"}, {50, 40, {640, 0, 313, 240}, "Map5720"}};
  for (const auto& [percent, advance, piece, text] : cases) {
    const std::vector<PieceMark> marks = PieceMarks(size, ZoomOfPercent(percent), 57, Measure(advance, advance));
    ASSERT_EQ(marks.size(), 15u);
    EXPECT_EQ(std::pair(marks[10].piece, marks[10].text), std::pair(piece, text)) << percent;
    EXPECT_EQ(marks[10].font, percent >= 50 && advance == 6 ? LabelFont::Normal : LabelFont::Small) << percent;
    EXPECT_EQ(marks[10].label, Rect(piece.left() + 2, 2, advance * int(text.size()) + 6,
                                    marks[10].font == LabelFont::Normal ? 14 : 11));
    for (const PieceMark& mark : marks)
      EXPECT_TRUE(mark.label.isEmpty() ? mark.piece.height() <= 20 : mark.piece.contains(mark.label)) << percent;
  }
}

// An Untitled map, or one outside 32..99, has the dialog's number or the lowest.
TEST(PreviewMarksTest, NumberIsTheMapsOrTheProposedOne) {
  const std::tuple<int, bool, std::optional<int>, int> cases[] = {{40, false, 57, 40}, {99, false, 57, 99},
      {100, false, 57, 57}, {31, false, 57, 57}, {40, true, 57, 57}, {40, true, std::nullopt, 32}};
  for (const auto& [number, untitled, dialog, expected] : cases)
    EXPECT_EQ(PieceMapNumber(MapHeader{number, 44, 39}, untitled, dialog), expected) << number;
}

TEST(PreviewClickTest, ClickScrollsTheZoomedInViewOnlyToAHexOutside) {
  const ViewState view;
  EXPECT_EQ(OriginToShow(view, {3, 4}), std::nullopt);
  EXPECT_EQ(OriginToShow(view, {43, 38}), ZoomInOrigin(43, 38, view));
  EXPECT_EQ(OriginToShow(ViewState{.ZoomedIn = false}, {43, 38}), std::nullopt);
}

TEST(PreviewModelTest, ChangedHexesRepaintToAFreshPaintAndAResizeRepaintsWhole) {
  std::vector<bool> loaded;
  ArtworkPreviewModel model([&loaded](bool winter) {
    loaded.push_back(winter);
    return BuiltinTileSet(winter);
  });
  MapDocument document{{45, 16, 11}, {}};
  test::FillBusyMap(document.grid);
  EXPECT_EQ(model.repaintWhole(document), "646 x 525 pixels, 4 pieces");
  document.grid.setTerrain(4, 3, kRiver);
  const auto rects = model.repaintHexes(document, {{4, 3}});
  ASSERT_TRUE(rects && !rects->empty());
  EXPECT_EQ(model.picture(), PaintMapPicture(document.grid, 16, 11, BuiltinTileSet(false), model.variants()));
  EXPECT_EQ(model.pointerText(document.grid, {7, 24}),
            "646 x 525 pixels, 4 pieces   Hex ( 00, 00 ) " + DisplayNameOrUnknown(document.grid.terrain(0, 0)));
  const VariantGrid summer = model.variants();
  model.setWinter(true);
  EXPECT_EQ(model.exportFileName(5), "Map05 winter.png");
  document.header.columns = 17;
  EXPECT_FALSE(model.repaintHexes(document, {{4, 3}}));
  model.repaintWhole(document);
  model.setWinter(false);
  model.repaintWhole(document);
  EXPECT_TRUE(model.variants() == summer);
  EXPECT_EQ(loaded, (std::vector<bool>{false, true}));
  EXPECT_EQ(model.exportFileName(57), "Map57 summer.png");
}

// Each edit repaints only what its hex touches, yet the picture stays a fresh
// paint: terrain beside rivers, roads and ocean, roads added, and clearing them.
TEST(PreviewModelTest, EditsBesideRiversRoadsAndOceanRepaintToAFreshPaint) {
  ArtworkPreviewModel model([](bool winter) { return BuiltinTileSet(winter); });
  MapDocument document{{45, 44, 39}, {}};
  test::FillBusyMap(document.grid);
  model.repaintWhole(document);
  const struct {
    int column, row, terrain, roads;  // -1: left as it is
  } edits[] = {{4, 3, kRiver, -1}, {5, 3, kStream, -1}, {5, 4, kRiver, -1}, {4, 3, kClear, -1}, {7, 5, -1, 0b1},
               {7, 5, -1, 0b1001}, {7, 5, -1, 0b1011}, {7, 5, kOcean, -1}, {0, 0, kImpassableRiver, 0}};
  for (const auto& e : edits) {
    if (e.terrain >= 0) document.grid.setTerrain(e.column, e.row, e.terrain);
    if (e.roads >= 0) document.grid.setRoadMask(e.column, e.row, e.roads);
    ASSERT_TRUE(model.repaintHexes(document, {{e.column, e.row}}));
    EXPECT_EQ(model.picture(), PaintMapPicture(document.grid, 44, 39, BuiltinTileSet(false), model.variants()))
        << e.column << "," << e.row << " " << e.terrain << " " << e.roads;
  }
}

TEST(PreviewModelTest, ATileSetNotLoadedLeavesNoPictureAndSaysWhy) {
  ArtworkPreviewModel model([](bool) -> TileSet { throw std::runtime_error("Cannot read tiles"); });
  EXPECT_EQ(model.repaintWhole(MapDocument{{45, 16, 11}, {}}), "Cannot read tiles");
  EXPECT_TRUE(model.picture().isNull());
  EXPECT_FALSE(model.repaintHexes(MapDocument{{45, 16, 11}, {}}, {{0, 0}}));
}

}  // namespace
}  // namespace kxc2
