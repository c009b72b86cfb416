#include "editor/hex_change.h"

#include <algorithm>

#include "core/terrain.h"

namespace kxc2 {

void HexChange::set(const MapGrid& grid, int column, int row, const HexRecord& after) {
  const std::size_t slot = std::size_t(column) * kGridRows + std::size_t(row);
  if (set_.test(slot)) {
    const auto same = [&](const HexEdit& edit) {
      return edit.hex == HexCoord{column, row};
    };
    std::find_if(edits_.begin(), edits_.end(), same)->after = after;
    return;
  }
  set_.set(slot);
  edits_.push_back({{column, row}, grid.record(column, row), after});
}

bool HexChange::keepOnlyChanged() {
  std::erase_if(edits_, [this](const HexEdit& edit) {
    if (edit.before != edit.after) return false;
    set_.reset(std::size_t(edit.hex.column) * kGridRows + std::size_t(edit.hex.row));
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

}  // namespace kxc2
