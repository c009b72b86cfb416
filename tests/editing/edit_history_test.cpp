// QUndoStack, driven as the editor drove it, and EditHistory agree after every operation of every script.
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
};

struct Command : QUndoCommand {  // the editor's Undo step before EditHistory
  Command(HexChange c, Side& s) : QUndoCommand(QString::fromStdString(c.text())), change(std::move(c)), side(s) {}
  void redo() override { side.write(change, true, !std::exchange(applied, true)); }
  void undo() override { side.write(change, false, false); }
  int id() const override { return change.stroke() != 0 ? 1 : -1; }
  bool mergeWith(const QUndoCommand* other) override {
    const HexChange& later = static_cast<const Command&>(*other).change;
    return later.stroke() == change.stroke() && (change.absorb(later), true);
  }
  HexChange change; Side& side; bool applied = false;
};

// p, 1, 2: push at stroke 0, 1, 2, op n at hex n % 2; u, r, c, x, C: undo, redo, setClean, resetClean, clear.
TEST(EditHistoryTest, FollowsQUndoStackThroughEveryScript) {
  for (const char* script : {"ppuuurrrpu", "111uur1", "1121u1", "1p1", "12u1", "12u2uu2", "1c11", "11c1uu1r",
                             "11pcu1u", "ppcuup", "ppcuu1r", "pcurrc", "pxuxr", "xpC", "xC", "xCcp", "pcpCur"}) {
    SCOPED_TRACE(script);
    Side qt, ours;
    QUndoStack stack;
    QObject::connect(&stack, &QUndoStack::indexChanged, [&] { qt.log += "i;"; });
    QObject::connect(&stack, &QUndoStack::cleanChanged, [&](bool clean) { qt.log += clean ? "C;" : "c;"; });
    EditHistory history([&](const HexChange& change, bool after, bool first) { ours.write(change, after, first); });
    history.onChanged([&](bool stepped) { ours.log += stepped ? "i;" : ""; });
    history.onCleanChanged([&](bool clean) { ours.log += clean ? "C;" : "c;"; });
    const auto act = [](auto& h, char op) {
      op == 'u' ? h.undo() : op == 'r' ? h.redo() : op == 'c' ? h.setClean() : op == 'x' ? h.resetClean() : h.clear();
    };
    for (int n = 0; script[n] != '\0'; ++n) {
      HexChange change(std::to_string(n), script[n] == 'p' ? 0 : script[n] - '0');
      change.set(ours.grid, n % 2, 0, HexRecord{std::uint8_t(n + 1)});  // the grids agree so far
      script[n] == 'p' || script[n] <= '9' ? (stack.push(new Command(change, qt)), history.push(change))
                                           : (act(stack, script[n]), act(history, script[n]));
      EXPECT_EQ(std::tuple(history.index(), history.count(), history.cleanIndex(), history.isClean(), history.canUndo(),
                           history.canRedo(), history.undoText(), history.redoText(), ours.log),
                std::tuple(stack.index(), stack.count(), stack.cleanIndex(), stack.isClean(), stack.canUndo(),
                           stack.canRedo(), stack.undoText().toStdString(), stack.redoText().toStdString(), qt.log));
      EXPECT_TRUE(ours.grid == qt.grid) << n;
    }
  }
}

}  // namespace
}  // namespace kxc2
