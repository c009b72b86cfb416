#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <semaphore>
#include <string>
#include <thread>
#include <vector>

#include "core/os_files.h"
#include "editing/map_editor.h"
#include "tests/support/temp_dir.h"

namespace kxc2::test {

// The window thread on a clock the test moves: timers fire only from
// advanceTo, posted tasks only from runPosted.
class ScriptedWindow final : public WindowThread {
 public:
  struct Timer final : WindowTimer {
    Timer(ScriptedWindow& window, std::function<void()> fire) : window(window), fire(std::move(fire)) {}
    ~Timer() override { std::erase(window.timers_, this); }
    void start(std::chrono::milliseconds delay) override { due = window.now + delay; }
    void stop() override { due.reset(); }
    bool isActive() const override { return due.has_value(); }
    ScriptedWindow& window;
    std::function<void()> fire;
    std::optional<std::chrono::milliseconds> due;
  };
  std::unique_ptr<WindowTimer> makeTimer(std::function<void()> fire) override;
  // From any thread.
  void post(std::function<void()> task) override;
  // Fires, in time order, each timer due by then.
  void advanceTo(std::chrono::milliseconds to);
  // Runs what was posted so far, as the window thread's loop would.
  void runPosted();

  const std::thread::id thread = std::this_thread::get_id();
  std::chrono::milliseconds now{0};
  std::counting_semaphore<> posts{0};  // one release a post

 private:
  std::vector<Timer*> timers_;
  std::mutex mutex_;
  std::vector<std::function<void()>> posted_;
};

// Answers every question and dialog from queues and records what was asked;
// an empty queue answers Cancel / false, as a user closing the box would.
class ScriptedShell final : public Shell {
 public:
  // Fills the dialog as the user would; true to choose or OK.
  using FileChoice = std::function<bool(FileDialogState&)>;
  using ParametersChoice = std::function<bool(MapParameters&)>;

  std::deque<Answer> confirmAnswers;
  std::deque<bool> warnAnswers;
  std::deque<FileChoice> openChoices, saveChoices;
  std::deque<ParametersChoice> parametersChoices;
  std::vector<std::string> confirmQuestions, warnQuestions, notices, errors;
  // What each dialog was shown with, before the choice.
  std::vector<FileDialogState> openShown, saveShown;
  std::vector<MapParameters> parametersShown;
  // The parameters dialog keeps its map number and season, as the real one.
  int keptMapNumber = 32;
  bool keptWinter = false;
  std::vector<Rect> pictures;
  int states = 0;
  ScriptedWindow window;

  // Forgets the answers and records, as a fresh shell.
  void clear();
  Answer confirm(const std::string& question) override {
    confirmQuestions.push_back(question);
    return Pop(confirmAnswers, Answer::Cancel);
  }
  bool warn(const std::string& question) override { return warnQuestions.push_back(question), Pop(warnAnswers, false); }
  void notify(const std::string& text) override { notices.push_back(text); }
  void showError(const std::string& message) override { errors.push_back(message); }
  bool runOpenDialog(FileDialogState& state) override { return openShown.push_back(state), Choose(openChoices, state); }
  bool runSaveDialog(FileDialogState& state) override { return saveShown.push_back(state), Choose(saveChoices, state); }
  bool runParameters(MapParameters& parameters) override;
  WindowThread& windowThread() override { return window; }
  void pictureChanged(Rect area) override { pictures.push_back(area); }
  void stateChanged() override { ++states; }

 private:
  template <typename T>
  static T Pop(std::deque<T>& queue, T whenEmpty) {
    if (queue.empty()) return whenEmpty;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
  }
  template <typename Choice, typename State>
  static bool Choose(std::deque<Choice>& queue, State& state) {
    return Pop(queue, Choice([](State&) { return false; }))(state);
  }
};

// The path with the system's separators, as the editor makes paths absolute.
inline std::string Native(std::string path) {
  if (kPathSeparator != '/') std::replace(path.begin(), path.end(), '/', kPathSeparator);
  return path;
}

// A .map file built byte by byte: header, records (MapFileRecord), a
// foreign trailer, padded or cut to size.
std::vector<std::uint8_t> MapFileBytes(int mapNumber, int columns, int rows, std::size_t size = 14561);
HexRecord MapFileRecord(int column, int row);

// A MapEditor started as the program starts it, in a fresh program folder,
// with a game folder, a user folder and a recovery folder of its own.
class EditorTest : public ::testing::Test {
 protected:
  EditorTest();
  ~EditorTest() override;

  void writeSettings(const std::string& body, const std::string& name = "KXC2MAP.INI");
  void pointSettingsAtGame() { writeSettings("[Locations]\r\nKC2=" + game.folder() + "\r\n"); }
  // Ends the editor there is, then starts one, recovery copies offered.
  void start();
  // start() with the settings pointing at the game, then New.
  void startWithNewMap();
  void writeMap(const std::string& name, const std::vector<std::uint8_t>& bytes);

  void chooseOpen(const std::string& path);
  void chooseSave(const std::string& path);
  void cancelOpen() { shell.openChoices.push_back([](auto&) { return false; }); }
  void cancelSave() { shell.saveChoices.push_back([](auto&) { return false; }); }
  // OK, the user typing what is not -1 first.
  void okParameters(int mapNumber = -1, int columns = -1, int rows = -1, bool winter = false);
  // The user types a map number, then cancels.
  void cancelParameters(int mapNumber = 90);

  MapGrid& grid() { return editor->document().grid; }
  const ViewState& view() const { return editor->viewState(); }
  EditorSnapshot shot() const { return editor->snapshot(); }
  Point centre(int column, int row) const;
  void click(MouseButton button, int column, int row) { editor->MapImageMouseUp(button, centre(column, row)); }
  void paint(int code, int column, int row) { editor->setTerrain(code), click(MouseButton::Left, column, row); }
  // The picture as a full redraw of the grid leaves it, with one frame.
  ::testing::AssertionResult showsFullRedraw() const;

  TempDir program;
  TempDir game;
  TempDir user;  // the per-user folders
  ScriptedShell shell;
  std::unique_ptr<MapEditor> editor;
  std::string recoveryFolder;
};

}  // namespace kxc2::test
