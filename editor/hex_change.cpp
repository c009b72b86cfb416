#include "editor/hex_change.h"

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

std::size_t HexChange::heldBytes() const {
  return sizeof(HexChange) + edits_.capacity() * sizeof(HexEdit) +
         std::size_t(text_.capacity()) * sizeof(QChar);
}

QString PaintText(int code) {
  return QStringLiteral("Paint ") + QString::fromStdString(DisplayNameOrUnknown(code));
}

QString FillText(int code) {
  return QStringLiteral("Fill ") + QString::fromStdString(DisplayNameOrUnknown(code));
}

HexRecord PaintedRecord(HexRecord record, int code) {
  record[0] = std::uint8_t(code);
  if (!IsInRoadKeepSet(code)) record[2] = 0;
  return record;
}

HexChangeCommand::HexChangeCommand(HexChange change, Writer write)
    : QUndoCommand(change.text()), change_(std::move(change)), write_(std::move(write)) {}

void HexChangeCommand::redo() {
  write_(change_, Bytes::After, !applied_);
  applied_ = true;
}

void HexChangeCommand::undo() { write_(change_, Bytes::Before, false); }

// One id for every stroke; mergeWith tells strokes apart.
int HexChangeCommand::id() const { return change_.stroke() != 0 ? 1 : -1; }

bool HexChangeCommand::mergeWith(const QUndoCommand* other) {
  const auto& later = static_cast<const HexChangeCommand&>(*other).change_;
  if (later.stroke() != change_.stroke()) return false;
  change_.absorb(later);
  return true;
}

}  // namespace kxc2
