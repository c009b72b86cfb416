#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/editing/scripted_shell.h"

namespace kxc2::test {

// How a command's writes are made to fail.
enum class Fault {
  None,            // the control: the same run without a fault
  DiskFull,        // files may not grow past a limit (RLIMIT_FSIZE)
  ReadOnlyFolder,  // the target folder takes no new entries (run as nobody)
  MissingFolder,   // the target folder does not exist
};

using Report = std::map<std::string, std::string>;
using Names = std::vector<std::string>;

// Runs body in a forked child, with the file size limit or as nobody as
// fault asks, and returns what body reported plus "exit", the child's exit
// code. The child cannot fail a test itself, hence the report.
Report RunWithFault(Fault fault, long sizeLimit, const std::function<Report()>& body);

std::string Joined(const std::vector<std::string>& texts);

// The editor started against a game folder below a fresh temporary folder
// whose names may hold spaces and letters beyond ASCII.
class FaultTest : public EditorTest {
 protected:
  // Where the program and the game live; change before start().
  std::filesystem::path root() const { return game.path(); }
  std::filesystem::path programPath() const { return root() / programName; }
  std::filesystem::path gamePath() const { return root() / gameName; }
  std::string programFolder() const { return programPath().string() + "/"; }
  std::string gameFolder() const { return gamePath().string() + "/"; }

  // KXC2MAP.INI in the program folder with KC2 = value.
  void writeGameSetting(const std::string& value);
  void start();
  // The game folder exists and the settings name it.
  void startWithGame();
  void choose(const std::vector<std::string>& paths);

  // The editor's command run in a child under fault, reporting "errors",
  // "notices", "warnings", "confirms", "header" (number columns rows),
  // "caption" and "kept": whether the grid, the view, the picture, the
  // snapshot and OpenDialog1 are as they were.
  Report runFaulty(Fault fault, long sizeLimit, const std::function<void()>& command);

  // A one-colour 8-bit bitmap of width x height, or noise.
  static void writeBitmap(const std::filesystem::path& path, int width, int height, bool noisy = false);

  std::string programName = "program";
  std::string gameName = "game";
};

}  // namespace kxc2::test
