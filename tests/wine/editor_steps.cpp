// editor_steps MAP OUT.map: the Windows editor test's steps, done here
// through MapEditor on MAP and saved as OUT.map, and printed for the script
// to do by mouse and keyboard; both must give the same bytes.
#include <cstdio>
#include <iostream>
#include <string>

#include "editing/map_editor.h"

namespace {

using kxc2::MouseButton;
using kxc2::Point;

// Picture pixels in the zoomed-in view from the corner: a hex's middle
// across, a quarter down, so raised and plain columns agree on the row.
constexpr Point Hex(int column, int row) { return {column * 44 + 22, row * 50 + 12}; }

struct Step {
  enum Kind { Terrain, Click, ShiftClick, Drag, Key, Undo, Redo } kind;
  int value = 0;  // terrain code or key
  Point from{}, to{};
};

constexpr Step kSteps[] = {
    {Step::Terrain, 8},
    {Step::Click, 0, Hex(3, 2)},
    {Step::Drag, 0, Hex(1, 5), Hex(7, 5)},
    {Step::Terrain, 4},
    {Step::ShiftClick, 0, Hex(0, 8)},
    {Step::Click, 0, Hex(9, 6)},
    {Step::Key, 'e'},
    {Step::Key, 'd'},
    {Step::Undo},
    {Step::Undo},
    {Step::Redo},
};

struct IdleThread final : kxc2::WindowThread {
  struct Timer final : kxc2::WindowTimer {
    void start(std::chrono::milliseconds) override {}
    void stop() override {}
    bool isActive() const override { return false; }
  };
  std::unique_ptr<kxc2::WindowTimer> makeTimer(std::function<void()>) override { return std::make_unique<Timer>(); }
  void post(std::function<void()> task) override { task(); }
};

// OK in the parameters dialog as it comes up; the save dialog names out.
struct SavingShell final : kxc2::Shell {
  std::string out;
  IdleThread thread;
  kxc2::Answer confirm(const std::string&) override { return kxc2::Answer::Cancel; }
  bool warn(const std::string&) override { return false; }
  void notify(const std::string&) override {}
  void showError(const std::string& message) override { std::cerr << message << '\n'; }
  bool runOpenDialog(FileDialogState&) override { return false; }
  bool runSaveDialog(FileDialogState& state) override {
    state.fileName = out;
    return true;
  }
  bool runParameters(MapParameters& parameters) override {
    parameters.mapNumber = 32;
    return true;
  }
  kxc2::WindowThread& windowThread() override { return thread; }
  void pictureChanged(kxc2::Rect) override {}
  void stateChanged() override {}
};

void Do(kxc2::MapEditor& editor, const Step& step) {
  switch (step.kind) {
    case Step::Terrain: editor.setTerrain(step.value); break;
    case Step::Click:
    case Step::ShiftClick:
      editor.MapImageMouseDown(MouseButton::Left, step.kind == Step::ShiftClick, step.from);
      editor.MapImageMouseUp(MouseButton::Left, step.from);
      break;
    case Step::Drag:
      editor.MapImageMouseDown(MouseButton::Left, false, step.from);
      editor.MapImageMouseMove(step.to);
      editor.MapImageMouseUp(MouseButton::Left, step.to);
      break;
    case Step::Key: editor.FormKeyPress(char(step.value)); break;
    case Step::Undo: editor.Undo1Click(); break;
    case Step::Redo: editor.Redo1Click(); break;
  }
}

void Print(const Step& step) {
  static const char* const names[] = {"terrain", "click", "shiftclick", "drag", "key", "undo", "redo"};
  std::cout << names[step.kind];
  if (step.kind == Step::Terrain) std::cout << ' ' << step.value;
  if (step.kind == Step::Key) std::cout << ' ' << char(step.value);
  if (step.kind == Step::Click || step.kind == Step::ShiftClick || step.kind == Step::Drag)
    std::cout << ' ' << step.from.x() << ' ' << step.from.y();
  if (step.kind == Step::Drag) std::cout << ' ' << step.to.x() << ' ' << step.to.y();
  std::cout << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: editor_steps MAP OUT.map\n";
    return 2;
  }
  SavingShell shell;
  shell.out = argv[2];
  kxc2::MapEditor editor(shell, shell.out + ".recovery");
  editor.startView();
  editor.openNamedMap(argv[1]);
  for (const Step& step : kSteps) {
    Do(editor, step);
    Print(step);
  }
  editor.SaveAs1Click();
  return editor.history().isClean() ? 0 : 1;
}
