#pragma once

#include <QString>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "editor/Unit1.h"
#include "editor/Unit2.h"
#include "editor/Unit3.h"
#include "tests/editor/scripted_dialogs.h"
#include "tests/support/temp_dir.h"

namespace kxc2::test {

// A .map file built byte by byte: header, records (terrain per hex from
// terrainAt, road mask and opaque bytes from the position), trailer.
std::vector<std::uint8_t> MapFileBytes(int mapNumber, int columns, int rows, std::size_t size = 14561);
// What MapFileBytes puts into hex (column, row).
HexRecord MapFileRecord(int column, int row);

// What the map-parameters dialog showed when a scripted user answered it.
struct ParametersSeen {
  int columns = -1;
  int rows = -1;
  int mapNumber = -1;
  bool terrtypeEnabled = true;
};

// A TForm1 started in a fresh program folder, with its two dialogs.
class CommandsTest : public ::testing::Test {
 protected:
  CommandsTest();
  ~CommandsTest() override;

  QString programFolder() const { return QString::fromStdString(program.folder()); }
  QString gameFolder() const { return QString::fromStdString(game.folder()); }
  // KXC2MAP.INI with the given line for the game.
  void writeSettings(const std::string& body, const std::string& name = "KXC2MAP.INI");
  void pointSettingsAtGame() { writeSettings("[Locations]\r\nKC2=" + game.folder() + "\r\n"); }
  void start();

  // Scripted answers.
  void chooseOpen(const std::string& path);
  void cancelOpen();
  void chooseSave(const std::string& path);
  void cancelSave();
  // OK in the map-parameters dialog, optionally typing a map number first.
  void okParameters(int mapNumber = -1);
  void cancelParameters();

  // A map present with something painted on it, its file dialogs used.
  void newMapWithPaint();
  void writeMap(const std::string& name, const std::vector<std::uint8_t>& bytes);

  TempDir program;
  TempDir game;
  ScriptedDialogs dialogs;
  std::unique_ptr<TForm1> form;
  std::vector<ParametersSeen> parametersSeen;
};

}  // namespace kxc2::test
