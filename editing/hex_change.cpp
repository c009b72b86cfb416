#include "editing/hex_change.h"

#include <algorithm>

#include "core/terrain.h"

namespace kxc2 {

namespace {

std::size_t SlotOf(HexCoord hex) { return std::size_t(hex.column) * kGridRows + std::size_t(hex.row); }

}  // namespace

void HexChange::set(const MapGrid& grid, int column, int row, const HexRecord& after) {
  put({{column, row}, grid.record(column, row), after});
}

void HexChange::absorb(const HexChange& later) {
  for (const HexEdit& edit : later.edits_) put(edit);
}

// A hex held already keeps its first before-bytes.
void HexChange::put(const HexEdit& edit) {
  const std::size_t slot = SlotOf(edit.hex);
  if (!set_.test(slot)) {
    set_.set(slot);
    edits_.push_back(edit);
    return;
  }
  const auto same = [&](const HexEdit& held) { return held.hex == edit.hex; };
  std::find_if(edits_.begin(), edits_.end(), same)->after = edit.after;
}

bool HexChange::keepOnlyChanged() {
  std::erase_if(edits_, [this](const HexEdit& edit) {
    if (edit.before != edit.after) return false;
    set_.reset(SlotOf(edit.hex));
    return true;
  });
  edits_.shrink_to_fit();
  return !edits_.empty();
}

// The text's characters count only when they left the string's own storage.
std::size_t HexChange::heldBytes() const {
  return sizeof(HexChange) + edits_.capacity() * sizeof(HexEdit) +
         (text_.capacity() > std::string().capacity() ? text_.capacity() + 1 : 0);
}

std::string PaintText(int code) { return "Paint " + DisplayNameOrUnknown(code); }

std::string FillText(int code) { return "Fill " + DisplayNameOrUnknown(code); }

HexRecord PaintedRecord(HexRecord record, int code) {
  record[0] = std::uint8_t(code);
  if (!IsInRoadKeepSet(code)) record[2] = 0;
  return record;
}

}  // namespace kxc2
