#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "editing/hex_change.h"

namespace kxc2 {

// The editor's Undo and Redo: a list of HexChanges and the index of the next
// one to redo, with the rules of Qt's QUndoStack as the editor used it, so
// the steps, their texts and the unsaved marker behave as they always did.
// The history holds no grid; its writer puts a change's bytes in.
class EditHistory {
 public:
  // after: write the after-bytes, else the before-bytes. firstApply is true
  // for the write that push makes, when the hexes are drawn as the click
  // that made them draws them.
  using Writer = std::function<void(const HexChange& change, bool after, bool firstApply)>;

  explicit EditHistory(Writer write);

  // Writes the change's after-bytes, drops the steps past the index and adds
  // the change as the next step. A change whose stroke number (not 0) is that
  // of the step before the index merges into that step instead, unless the
  // history is clean there: the saved state must stay a step of its own.
  void push(HexChange change);
  // Nothing happens when there is nothing to undo or redo.
  void undo();
  void redo();
  // No steps and a clean history; the clean state of an empty history stays
  // as it was, as QUndoStack::clear leaves it.
  void clear();
  // The state at the index is the saved one.
  void setClean();
  // No state is the saved one, not even the present.
  void resetClean();

  bool canUndo() const { return index_ > 0; }
  bool canRedo() const { return index_ < count(); }
  // Empty when there is nothing to undo or redo.
  const std::string& undoText() const;
  const std::string& redoText() const;
  int index() const { return index_; }
  int count() const { return int(steps_.size()); }
  const HexChange& step(int i) const { return steps_[std::size_t(i)]; }
  int cleanIndex() const { return cleanIndex_; }
  bool isClean() const { return cleanIndex_ == index_; }
  // The memory the steps hold.
  std::size_t heldBytes() const;

  // After every operation that changes the index, the steps or the clean
  // state. stepped is true where QUndoStack emitted indexChanged: a push, a
  // merge, an undo, a redo, a clear of some steps.
  void onChanged(std::function<void(bool stepped)> listener) { changed_ = std::move(listener); }
  // After onChanged's call, when isClean() flipped.
  void onCleanChanged(std::function<void(bool clean)> listener) { cleanChanged_ = std::move(listener); }

 private:
  void notify(bool stepped, bool wasClean);

  Writer write_;
  std::vector<HexChange> steps_;
  int index_ = 0;
  int cleanIndex_ = 0;
  std::function<void(bool)> changed_;
  std::function<void(bool)> cleanChanged_;
};

}  // namespace kxc2
