#include "tests/editing/scripted_shell.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "tests/editing/view_pictures.h"

namespace kxc2::test {
namespace {

void SetUserBase(const std::string& folder) {
#ifdef _WIN32
  _putenv_s("APPDATA", folder.c_str());
#else
  setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
#endif
}

}  // namespace

std::unique_ptr<WindowTimer> ScriptedWindow::makeTimer(std::function<void()> fire) {
  auto timer = std::make_unique<Timer>(*this, std::move(fire));
  timers_.push_back(timer.get());
  return timer;
}

void ScriptedWindow::post(std::function<void()> task) {
  {
    const std::lock_guard lock(mutex_);
    posted_.push_back(std::move(task));
  }
  posts.release();
}

void ScriptedWindow::advanceTo(std::chrono::milliseconds to) {
  const auto due = [](const Timer* timer) { return timer->due.value_or(std::chrono::milliseconds::max()); };
  while (!timers_.empty()) {
    Timer* next = *std::ranges::min_element(timers_, {}, due);
    if (due(next) > to) break;
    now = due(next);
    next->due.reset();
    next->fire();
  }
  now = to;
}

void ScriptedWindow::runPosted() {
  std::vector<std::function<void()>> tasks;
  {
    const std::lock_guard lock(mutex_);
    tasks.swap(posted_);
  }
  for (auto& task : tasks) task();
}

void ScriptedShell::clear() {
  confirmAnswers.clear(), warnAnswers.clear(), openChoices.clear(), saveChoices.clear(), parametersChoices.clear();
  confirmQuestions.clear(), warnQuestions.clear(), notices.clear(), errors.clear();
  openShown.clear(), saveShown.clear(), parametersShown.clear();
  keptMapNumber = 32, keptWinter = false;
  pictures.clear(), states = 0;
}

bool ScriptedShell::runParameters(MapParameters& parameters) {
  parametersShown.push_back(parameters);
  parameters.mapNumber = keptMapNumber;
  parameters.winter = keptWinter;
  const bool ok = Choose(parametersChoices, parameters);
  keptMapNumber = parameters.mapNumber;
  keptWinter = parameters.winter;
  return ok;
}

HexRecord MapFileRecord(int column, int row) {
  const auto c = static_cast<std::uint8_t>(column);
  const auto r = static_cast<std::uint8_t>(row);
  return HexRecord{static_cast<std::uint8_t>((column + row) % 17), static_cast<std::uint8_t>(c + 1),
                   static_cast<std::uint8_t>(column * 3 + row),     r,
                   static_cast<std::uint8_t>(200 + r % 50),         c,
                   static_cast<std::uint8_t>(c ^ r)};
}

std::vector<std::uint8_t> MapFileBytes(int mapNumber, int columns, int rows, std::size_t size) {
  std::vector<std::uint8_t> bytes(14561, 0);
  const int header[] = {mapNumber, columns, rows};
  for (int i = 0; i < 3; ++i) {
    bytes[2 * i] = static_cast<std::uint8_t>(header[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<std::uint8_t>(header[i] >> 8);
  }
  bytes[6] = 0xAB;  // reserved bytes a writer never carries over
  for (int row = 0; row < 40; ++row)
    for (int column = 0; column < 45; ++column) {
      const HexRecord record = MapFileRecord(column, row);
      std::copy(record.begin(), record.end(), bytes.begin() + 10 + 7 * (45 * row + column));
    }
  bytes[12610] = 0x77;  // a foreign trailer
  bytes.resize(size, 0x55);
  return bytes;
}

EditorTest::EditorTest() : recoveryFolder(user.file("recovery")) { SetUserBase(user.path().string()); }

EditorTest::~EditorTest() = default;

void EditorTest::writeSettings(const std::string& body, const std::string& name) {
  WriteBytes(program.path() / name, std::vector<std::uint8_t>(body.begin(), body.end()));
}

// As the main window's FormCreate.
void EditorTest::start() {
  editor.reset();
  editor = std::make_unique<MapEditor>(shell, recoveryFolder);
  editor->FormCreate(program.folder(), "KxC2Map");
  editor->offerRecoveryCopies();
}

void EditorTest::startWithNewMap() {
  pointSettingsAtGame();
  start();
  editor->New1Click();
}

void EditorTest::writeMap(const std::string& name, const std::vector<std::uint8_t>& bytes) {
  WriteBytes(game.path() / name, bytes);
}

void EditorTest::chooseOpen(const std::string& path) {
  shell.openChoices.push_back([path](Shell::FileDialogState& state) {
    state.fileName = path;
    state.files = {path};
    return true;
  });
}

void EditorTest::chooseSave(const std::string& path) {
  shell.saveChoices.push_back([path](Shell::FileDialogState& state) {
    state.fileName = path;
    state.files = {path};
    return true;
  });
}

void EditorTest::okParameters(int mapNumber, int columns, int rows, bool winter) {
  shell.parametersChoices.push_back([=](Shell::MapParameters& parameters) {
    for (const auto& [typed, field] : {std::pair{mapNumber, &parameters.mapNumber},
                                       std::pair{columns, &parameters.columns}, std::pair{rows, &parameters.rows}})
      if (typed >= 0) *field = typed;
    parameters.winter = winter;
    return true;
  });
}

void EditorTest::cancelParameters(int mapNumber) {
  shell.parametersChoices.push_back([mapNumber](Shell::MapParameters& parameters) {
    parameters.mapNumber = mapNumber;
    return false;
  });
}

Point EditorTest::centre(int column, int row) const {
  const Rect cell = CellRect(view(), column, row);
  return cell.topLeft() + Point(cell.width() / 2, cell.height() / 2);
}

::testing::AssertionResult EditorTest::showsFullRedraw() const {
  return SameImage(editor->picture(), FramedImage(FullRedrawImage(editor->document().grid, view()), view()));
}

}  // namespace kxc2::test
