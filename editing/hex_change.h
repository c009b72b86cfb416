#pragma once

#include <bitset>
#include <cstddef>
#include <string>
#include <vector>

#include "core/map_grid.h"

namespace kxc2 {

// One hex's seven bytes before and after a change, the bytes the editor
// does not understand included.
struct HexEdit {
  HexCoord hex;
  HexRecord before;
  HexRecord after;
};

// What one user action does to the grid. A click, a road change, a stroke
// and a fill are the same thing at different sizes: build a HexChange
// against the grid as it stands, then hand it to the editor's applyHexChange,
// which pushes it on its EditHistory: the after-bytes are written, those
// hexes redrawn, and the whole change is one Undo step ("Undo Paint Ocean").
// Nothing else writes the grid.
//
//   HexChange change(PaintText(kOcean));
//   for (const HexCoord& hex : hexesOfTheStroke)
//     change.set(grid, hex.column, hex.row,
//                PaintedRecord(grid.record(hex.column, hex.row), kOcean));
//   form.applyHexChange(std::move(change));
//
// A stroke may collect its hexes while the button is down and apply them
// once at the release; a hex set twice keeps its first before-bytes. Or it
// applies each hex as the pointer reaches it, every change carrying the same
// stroke number: consecutive changes of one stroke become one Undo step.
class HexChange {
 public:
  // stroke: 0 for a change of its own; changes with the same other number
  // pushed one after another merge.
  explicit HexChange(std::string text = {}, int stroke = 0) : text_(std::move(text)), stroke_(stroke) {}

  // The Undo and Redo items show it after their own word.
  const std::string& text() const { return text_; }
  // The hex's bytes once the change is made; its before-bytes are taken from
  // grid the first time the hex is set.
  void set(const MapGrid& grid, int column, int row, const HexRecord& after);
  const std::vector<HexEdit>& edits() const { return edits_; }
  int stroke() const { return stroke_; }
  // Takes in a later change of the same stroke: its hexes' after-bytes, and
  // the before-bytes of hexes this change did not hold yet.
  void absorb(const HexChange& later);
  // Drops the hexes whose bytes stay as they were; true when some are left.
  bool keepOnlyChanged();
  // The memory the change holds on the Undo stack.
  std::size_t heldBytes() const;

 private:
  void put(const HexEdit& edit);

  std::string text_;
  int stroke_ = 0;
  std::vector<HexEdit> edits_;
  std::bitset<kHexCount> set_;  // which hexes edits_ holds, indexed column * rows + row
};

// "Paint Ocean": the text of painting a terrain code.
std::string PaintText(int code);
// "Fill Ocean": the text of filling an area with a terrain code.
std::string FillText(int code);
// record with terrain code painted over it: Ocean clears the roads, any other
// terrain keeps them.
HexRecord PaintedRecord(HexRecord record, int code);
// The text of a change of one hex's roads.
inline const char* const kRoadsText = "Roads";

}  // namespace kxc2
