#pragma once

#include <QString>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "editor/Unit1.h"
#include "tests/editor/scripted_dialogs.h"
#include "tests/support/temp_dir.h"

namespace kxc2::test {

// What the user can see of the editor, as key = value text, so that a
// forked child can hand it back: "header" (number columns rows), "section0"
// to "section2", "map shown", "save enabled", "paint enabled", "shps
// enabled", "view", "scroll", "picture", "grid", "open dialog".
std::map<std::string, std::string> EditorState(const TForm1& form);
// What was asked and shown: "errors", "error boxes" (the box texts),
// "notices", "warnings", "confirms".
std::map<std::string, std::string> DialogLog(const ScriptedDialogs& dialogs);
std::string Joined(const QStringList& texts);

// The editor started against a game folder below a fresh temporary folder.
// The folder names may hold spaces and letters beyond ASCII.
class EditorFaultTest : public ::testing::Test {
 protected:
  EditorFaultTest();
  ~EditorFaultTest() override;

  // Where the program and the game live; change before start().
  std::filesystem::path programPath() const { return root.path() / programName; }
  std::filesystem::path gamePath() const { return root.path() / gameName; }
  std::string programFolder() const { return programPath().string() + "/"; }
  std::string gameFolder() const { return gamePath().string() + "/"; }

  // KXC2MAP.INI in the program folder with KC2 = value.
  void writeSettings(const std::string& value);
  void start();
  // The usual case: the game folder exists and the settings name it.
  void startWithGame();

  void choose(const std::vector<std::string>& paths);
  void chooseSave(const std::string& path);
  // OK in the map-parameters dialog with these values (or Cancel).
  void answerParameters(bool ok, int mapNumber, int columns, int rows, int terrain = 0);

  // New, something painted, and Save of it as name in scenario with map
  // number 45: the state before the command under test.
  void newSavedMap(const std::string& name);
  // A one-colour 8-bit bitmap of width x height, written byte by byte.
  void writeBitmap(const std::filesystem::path& path, int width, int height, bool noisy = false);

  TempDir root;
  std::string programName = "program";
  std::string gameName = "game";
  ScriptedDialogs dialogs;
  std::unique_ptr<TForm1> form;
};

}  // namespace kxc2::test
