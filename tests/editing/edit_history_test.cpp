// Scripts run on QUndoStack, driven as the editor drove it, and on
// EditHistory must show, write and notify the same after every operation.
#include <QUndoStack>
#include <gtest/gtest.h>
#include <tuple>
#include <utility>

#include "editing/edit_history.h"

namespace kxc2 {
namespace {

struct Side {
  MapGrid grid;
  std::string log;  // writes and notifications, in order
  void write(const HexChange& change, bool after, bool first) {
    for (const HexEdit& e : change.edits()) grid.setRecord(e.hex.column, e.hex.row, after ? e.after : e.before);
    log += std::string(after ? "W" : "w") + (first ? "!" : "") + change.text() + ";";
  }
  // The change of the n-th operation, p or a stroke number: a stroke sets its hexes twice.
  HexChange change(int n, char op) const {
    HexChange change(std::to_string(n), op == 'p' ? 0 : op - '0');
    change.set(grid, n % 2, 0, HexRecord{std::uint8_t(n + 1)});
    return change;
  }
};

// The editor's Undo step before EditHistory.
struct Command : QUndoCommand {
  Command(HexChange c, Side& s) : QUndoCommand(QString::fromStdString(c.text())), change(std::move(c)), side(s) {}
  void redo() override { side.write(change, true, !std::exchange(applied, true)); }
  void undo() override { side.write(change, false, false); }
  int id() const override { return change.stroke() != 0 ? 1 : -1; }
  bool mergeWith(const QUndoCommand* other) override {
    const HexChange& later = static_cast<const Command&>(*other).change;
    return later.stroke() == change.stroke() && (change.absorb(later), true);
  }
  HexChange change;
  Side& side;
  bool applied = false;
};

// p: a change of its own; 1, 2: one of stroke 1 or 2; u: undo; r: redo;
// c: setClean; x: resetClean; C: clear.
TEST(EditHistoryTest, FollowsQUndoStackThroughEveryScript) {
  for (const char* script : {"ppuuurrrpu", "111uur1", "1121u1", "1p1", "12u1", "12u2uu2", "1c11", "11c1uu1r",
                             "11pcu1u", "ppcuup", "ppcuu1r", "pcurrc", "pxuxr", "xpC", "xC", "xCcp", "pcpCur"}) {
    SCOPED_TRACE(script);
    Side qt, ours;
    bool stepped = false;  // an operation that only flips the clean state is "-" on both
    QUndoStack stack;
    QObject::connect(&stack, &QUndoStack::indexChanged, [&] { qt.log += "i;", stepped = true; });
    QObject::connect(&stack, &QUndoStack::cleanChanged,
                     [&](bool clean) { qt.log += std::string(stepped ? "" : "-;") + (clean ? "C;" : "c;"); });
    EditHistory history([&](const HexChange& change, bool after, bool first) { ours.write(change, after, first); });
    history.onChanged([&](bool step) { ours.log += step ? "i;" : "-;"; });
    history.onCleanChanged([&](bool clean) { ours.log += clean ? "C;" : "c;"; });
    const auto act = [](auto& h, char op) {
      op == 'u' ? h.undo() : op == 'r' ? h.redo() : op == 'c' ? h.setClean() : op == 'x' ? h.resetClean() : h.clear();
    };
    const auto shown = [](const auto& h) {
      return std::tuple(h.index(), h.count(), h.cleanIndex(), h.isClean(), h.canUndo(), h.canRedo());
    };
    for (int n = 0; script[n] != '\0'; ++n) {
      stepped = false;
      if (script[n] == 'p' || script[n] <= '9') {
        stack.push(new Command(qt.change(n, script[n]), qt));
        history.push(ours.change(n, script[n]));
      } else {
        act(stack, script[n]), act(history, script[n]);
      }
      EXPECT_EQ(shown(history), shown(stack)) << n;
      EXPECT_EQ(history.undoText() + "|" + history.redoText(), (stack.undoText() + "|" + stack.redoText()).toStdString());
      EXPECT_EQ(ours.log, qt.log) << n;
      EXPECT_TRUE(ours.grid == qt.grid) << n;
    }
  }
}

}  // namespace
}  // namespace kxc2
