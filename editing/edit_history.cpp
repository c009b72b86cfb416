#include "editing/edit_history.h"

#include <utility>

namespace kxc2 {

namespace {

const std::string kNoText;

}  // namespace

EditHistory::EditHistory(Writer write) : write_(std::move(write)) {}

void EditHistory::push(HexChange change) {
  write_(change, true, true);
  const bool wasClean = isClean();
  steps_.erase(steps_.begin() + index_, steps_.end());
  if (cleanIndex_ > index_) cleanIndex_ = -1;  // the saved state went with the dropped steps
  if (index_ > 0 && !wasClean && change.stroke() != 0 && steps_[std::size_t(index_ - 1)].stroke() == change.stroke()) {
    steps_[std::size_t(index_ - 1)].absorb(change);
  } else {
    steps_.push_back(std::move(change));
    ++index_;
  }
  notify(true, wasClean);
}

void EditHistory::undo() {
  if (!canUndo()) return;
  const bool wasClean = isClean();
  write_(steps_[std::size_t(index_ - 1)], false, false);
  --index_;
  notify(true, wasClean);
}

void EditHistory::redo() {
  if (!canRedo()) return;
  const bool wasClean = isClean();
  write_(steps_[std::size_t(index_)], true, false);
  ++index_;
  notify(true, wasClean);
}

void EditHistory::clear() {
  if (steps_.empty()) return;
  const bool wasClean = isClean();
  steps_.clear();
  index_ = 0;
  cleanIndex_ = 0;
  notify(true, wasClean);
}

void EditHistory::setClean() {
  const bool wasClean = isClean();
  cleanIndex_ = index_;
  if (!wasClean) notify(false, wasClean);
}

void EditHistory::resetClean() {
  const bool wasClean = isClean();
  cleanIndex_ = -1;
  if (wasClean) notify(false, wasClean);
}

const std::string& EditHistory::undoText() const {
  return canUndo() ? steps_[std::size_t(index_ - 1)].text() : kNoText;
}

const std::string& EditHistory::redoText() const {
  return canRedo() ? steps_[std::size_t(index_)].text() : kNoText;
}

std::size_t EditHistory::heldBytes() const {
  std::size_t bytes = 0;
  for (const HexChange& step : steps_) bytes += step.heldBytes();
  return bytes;
}

void EditHistory::notify(bool stepped, bool wasClean) {
  if (changed_) changed_(stepped);
  if (isClean() != wasClean && cleanChanged_) cleanChanged_(isClean());
}

}  // namespace kxc2
