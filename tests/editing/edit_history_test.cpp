// Scripts of history operations run on QUndoStack, driven as the editor
// drove it, and on EditHistory: after every operation both must show the
// same steps, texts and clean state, have written the same bytes the same
// way and told their listeners the same things in the same order.
#include <QUndoStack>
#include <gtest/gtest.h>
#include <utility>

#include "editing/edit_history.h"

namespace kxc2 {
namespace {

struct Side {
  MapGrid grid;
  std::string log;  // writes and notifications, in order
  void write(const HexChange& change, bool after, bool firstApply) {
    for (const HexEdit& edit : change.edits())
      grid.setRecord(edit.hex.column, edit.hex.row, after ? edit.after : edit.before);
    log += std::string(after ? "W" : "w") + (firstApply ? "!" : "") + change.text() + ";";
  }
};

// The editor's Undo step before EditHistory.
class Command : public QUndoCommand {
 public:
  Command(HexChange change, Side& side)
      : QUndoCommand(QString::fromStdString(change.text())), change_(std::move(change)), side_(side) {}
  void redo() override { side_.write(change_, true, !std::exchange(applied_, true)); }
  void undo() override { side_.write(change_, false, false); }
  int id() const override { return change_.stroke() != 0 ? 1 : -1; }
  bool mergeWith(const QUndoCommand* other) override {
    const HexChange& later = static_cast<const Command&>(*other).change_;
    if (later.stroke() != change_.stroke()) return false;
    change_.absorb(later);
    return true;
  }

 private:
  HexChange change_;
  Side& side_;
  bool applied_ = false;
};

// The n-th push: a hex of six, some pushed twice in a row, with new bytes.
HexChange NthChange(const MapGrid& grid, int n, int stroke) {
  HexChange change(stroke != 0 ? PaintText(n % 5) : FillText(n % 5), stroke);
  HexRecord record = grid.record(n % 3, n % 2);
  record[0] = std::uint8_t(n + 1);
  record[6] ^= std::uint8_t(n);
  change.set(grid, n % 3, n % 2, record);
  return change;
}

// p: a change of its own; 1, 2: a change of stroke 1 or 2; u: undo; r: redo;
// c: setClean; x: resetClean; C: clear.
TEST(EditHistoryTest, FollowsQUndoStackThroughEveryScript) {
  const char* const scripts[] = {
      "ppuuurrrpu", "111ur1", "1121u1", "1p1", "12u1", "12u2uu2", "1c11", "11c1uu1r", "11pcu1u",
      "ppcuup", "ppcuu1r", "pcurrc", "pxuxr", "xpC", "xC", "xCcp", "ppuC", "pcpCur", "C", "111uurr",
  };
  for (const char* script : scripts) {
    SCOPED_TRACE(script);
    Side qt, ours;
    QUndoStack stack;
    bool stepped = false;  // an operation that only flips the clean state is "-" for both
    QObject::connect(&stack, &QUndoStack::indexChanged, [&] { qt.log += "i;", stepped = true; });
    QObject::connect(&stack, &QUndoStack::cleanChanged, [&](bool clean) {
      qt.log += std::string(stepped ? "" : "-;") + (clean ? "C;" : "c;");
    });
    EditHistory history([&](const HexChange& change, bool after, bool first) { ours.write(change, after, first); });
    history.onChanged([&](bool step) { ours.log += step ? "i;" : "-;"; });
    history.onCleanChanged([&](bool clean) { ours.log += clean ? "C;" : "c;"; });
    int pushes = 0;
    for (const char* op = script; *op != '\0'; ++op) {
      SCOPED_TRACE(op - script);
      stepped = false;
      if (*op == 'p' || *op == '1' || *op == '2') {
        const int stroke = *op == 'p' ? 0 : *op - '0';
        stack.push(new Command(NthChange(qt.grid, pushes, stroke), qt));
        history.push(NthChange(ours.grid, pushes++, stroke));
      } else {
        const auto both = [&](void (QUndoStack::*a)(), void (EditHistory::*b)()) { (stack.*a)(), (history.*b)(); };
        if (*op == 'u') both(&QUndoStack::undo, &EditHistory::undo);
        if (*op == 'r') both(&QUndoStack::redo, &EditHistory::redo);
        if (*op == 'c') both(&QUndoStack::setClean, &EditHistory::setClean);
        if (*op == 'x') both(&QUndoStack::resetClean, &EditHistory::resetClean);
        if (*op == 'C') both(&QUndoStack::clear, &EditHistory::clear);
      }
      EXPECT_EQ(history.index(), stack.index());
      EXPECT_EQ(history.count(), stack.count());
      EXPECT_EQ(history.cleanIndex(), stack.cleanIndex());
      EXPECT_EQ(history.isClean(), stack.isClean());
      EXPECT_EQ(history.canUndo(), stack.canUndo());
      EXPECT_EQ(history.canRedo(), stack.canRedo());
      EXPECT_EQ(history.undoText(), stack.undoText().toStdString());
      EXPECT_EQ(history.redoText(), stack.redoText().toStdString());
      EXPECT_EQ(ours.log, qt.log);
      EXPECT_TRUE(ours.grid == qt.grid);
    }
  }
}

}  // namespace
}  // namespace kxc2
