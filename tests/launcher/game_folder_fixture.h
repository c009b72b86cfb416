#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"

namespace kxc2::test {

// The whole content of a file; empty when it cannot be read.
std::string ReadText(const std::filesystem::path& path);

// An executable shell script: "#!/bin/sh" and body.
void WriteScript(const std::filesystem::path& path, const std::string& body);

// A launcher run in a temporary game folder that holds UserMap/Map01.shp.
class GameFolderTest : public ::testing::Test {
 protected:
  void SetUp() override;

  std::filesystem::path Game() const { return dir_.path() / "game"; }
  // The game folder as the launcher under test prints it.
  virtual std::string ShownFolder() const = 0;

  // The console text of a run that prints lines between greeting and farewell.
  std::string Lines(const std::vector<std::string>& lines) const;
  // Exit code and console of a run that found the game, started it and saw it end.
  void ExpectGameRan(const ProgramRun& run) const;
  // A run that found no game: the maps are renamed back and nothing else is left.
  void ExpectNoGameRun(const ProgramRun& run) const;
  // No MAP left and the user's map back under its own name, unchanged.
  virtual void ExpectUserMapRestored() const;

  TempDir dir_;
};

}  // namespace kxc2::test
